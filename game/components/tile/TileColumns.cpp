#include "game/components/tile/TileColumns.h"

#include "engine/collision/HexPrismShape.h"
#include "engine/core/Transform.h"
#include "game/arena/HexGrid.h"
#include "game/arena/HexLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <limits>
#include <glm/gtc/matrix_inverse.hpp>

namespace TileColumns {
namespace {

using Faces = std::array<Engine::HexPrismShape::Face, Engine::HexPrismShape::kFaceCount>;
constexpr int kTopFace = 0;
constexpr int kBottomFace = 4;

// The ways out of one column: through its top, and out of its nearest side.
// The column's bottom lies outside the arena and is never the way.
struct WaysOut {
    WayOut top;
    WayOut side;
};

// A floor's column is stood on only while it stands upright, within a
// degree (the cosine). While the arena turns, the floor's columns tilt and
// sweep sideways through the players the event holds, and are left as a
// wall's are: lifted onto the top, a player would be carried far along the
// tilt, up against the ceiling, and one close by would have its eyes across
// the column's side.
constexpr float kUpright = 0.99985f;

bool StoodOn(const glm::vec3& top) { return top.y > kUpright; }

// The prism's faces grown by `margin` hold the point when it lies behind
// every one of them; how far it lies behind a face is the way out there. A
// column stood on has only its top grown, and only its top is the way out,
// as the player's hover would take it.
std::optional<WaysOut> OutOf(Engine::EntityHandle tile, const glm::vec3& point, float margin)
{
    const glm::vec3* scale = Engine::Transform::ScalePtr(tile);
    if (!scale)
        return std::nullopt;
    const glm::vec3 offset = point - Engine::Transform::GetWorldPosition(tile);
    const float reach = glm::length(*scale) + margin;
    if (glm::dot(offset, offset) > reach * reach)
        return std::nullopt;
    const Faces faces = Engine::UnitHexPrism.TransformedFaces(Engine::Transform::GetWorldMatrix(tile));
    const bool floor = StoodOn(faces[kTopFace].normal);
    WaysOut ways{{faces[kTopFace].normal, 0.0f}, {glm::vec3(0.0f), std::numeric_limits<float>::infinity()}};
    for (int i = 0; i < Engine::HexPrismShape::kFaceCount; ++i) {
        const bool grown = i == kTopFace || !floor;
        const float depth = (grown ? margin : 0.0f) - glm::dot(point - faces[i].point, faces[i].normal);
        if (!(depth > 0.0f))
            return std::nullopt;
        if (i == kTopFace)
            ways.top.depth = depth;
        else if (i != kBottomFace && !floor && depth < ways.side.depth)
            ways.side = {faces[i].normal, depth};
    }
    return ways;
}

// The first and last index of a run of `count` that a span of fractional
// indices covers; none (last below first) for a span that is not a number.
int FirstIndex(float from)
{
    if (!(from > 0.0f))
        return 0;
    return from < 1e6f ? static_cast<int>(std::ceil(from)) : 1000000;
}

int LastIndex(float to, std::uint32_t count)
{
    if (!(to >= 0.0f) || count == 0)
        return -1;
    return static_cast<int>(std::min(std::floor(to), static_cast<float>(count) - 1.0f));
}

// The tiles of one side that may hold the point, visited until `visit`
// answers; its answer. A side's tiles stand in columns and rows across it
// and rise along its up, so the point's place across the side names the few
// whose hexagons, grown by `margin`, reach it; of those, only the ones that
// reach it along their rise are visited.
template <typename Visit>
std::optional<WaysOut> VisitColumnsAcross(int side, std::uint64_t first, const glm::vec3& point, float margin,
                                          const Visit& visit)
{
    const HexGrid& grid = HexGrid::GetInstance();
    const std::uint32_t rows = grid.rows[side];
    const std::uint32_t cols = grid.cols[side];
    // A world matrix is affine (no projection): its cheaper inverse will do,
    // and this is the hold's most repeated one.
    const glm::vec3 local(glm::affineInverse(Engine::Transform::GetWorldMatrix(grid.sides[side])) *
                          glm::vec4(point, 1.0f));
    const HexLayout::SideFrame& frame = HexLayout::kSides[side];
    const glm::vec3& centre = grid.sideCentres[side];
    const float s = grid.tileScale.x;
    // How far from its centre a hexagon grown by the margin reaches.
    const float reach = s + margin;
    const float column = HexLayout::ColumnAt(centre, frame.columnAxis, s, cols, local);
    const float columnsReached = reach / HexLayout::InnerRadius(s);
    const float rowsReached = reach / (3.0f * s);
    for (int j = FirstIndex(column - columnsReached); j <= LastIndex(column + columnsReached, cols); ++j) {
        const std::uint32_t inColumn = j % 2 == 0 ? rows : rows - 1;
        const float row = HexLayout::RowAt(centre, frame.rowAxis, s, rows, static_cast<std::uint32_t>(j), local);
        for (int i = FirstIndex(row - rowsReached); i <= LastIndex(row + rowsReached, inColumn); ++i) {
            const std::uint64_t number = first + HexLayout::TileIndexInSide(rows, j, i);
            if (number >= grid.tiles.size())
                continue;
            // A side whose making fell short numbers its tiles otherwise.
            const Engine::EntityHandle tile = grid.tiles[number];
            if (Engine::Transform::GetParent(tile) != grid.sides[side])
                continue;
            const glm::vec3* at = Engine::Transform::PositionPtr(tile);
            const glm::vec3* up = Engine::Transform::UpPtr(tile);
            const glm::vec3* scale = Engine::Transform::ScalePtr(tile);
            if (at && up && scale && std::fabs(glm::dot(local - *at, *up)) <= scale->y + margin) {
                if (std::optional<WaysOut> ways = visit(tile))
                    return ways;
            }
        }
    }
    return std::nullopt;
}

bool& MismatchSaid()
{
    static bool said = false;
    return said;
}

// Tiles are found by their numbers, counted from the settings' rows and
// columns: settings that plan other tiles than were built (a side that
// fell short, settings changed since) hide the columns of every side past
// the first that differs. Said once for each arena built.
void SayWhenTheBuildDiffers(const HexGrid& grid)
{
    const std::uint64_t planned = grid.PlannedTileCount();
    if (grid.tiles.empty() || grid.tiles.size() == planned || MismatchSaid())
        return;
    MismatchSaid() = true;
    std::cerr << "[TileColumns] The arena's settings plan " << planned << " tiles but " << grid.tiles.size()
              << " were built: the columns of the sides past the first that differs are not found.\n";
}

// The first column, side by side, that holds the point.
std::optional<WaysOut> FirstColumnHolding(const glm::vec3& point, float margin)
{
    const HexGrid& grid = HexGrid::GetInstance();
    SayWhenTheBuildDiffers(grid);
    const auto holding = [&point, margin](Engine::EntityHandle tile) {
        return tile.IsValid() ? OutOf(tile, point, margin) : std::nullopt;
    };
    std::uint64_t first = 0;
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        const std::uint64_t count = HexLayout::SideTileCount(grid.rows[side], grid.cols[side]);
        if (count > 0 && static_cast<std::size_t>(side) < grid.sides.size()) {
            if (std::optional<WaysOut> ways = VisitColumnsAcross(side, first, point, margin, holding))
                return ways;
        }
        first += count;
    }
    return std::nullopt;
}

} // namespace

void ForgetTheSaidMismatch() { MismatchSaid() = false; }

std::optional<WayOut> WayOutOfColumns(const glm::vec3& point, float margin, const ArenaRoom& room)
{
    const std::optional<WaysOut> ways = FirstColumnHolding(point, margin);
    if (!ways)
        return std::nullopt;
    // Out of the side when that lands in the room and in no other column,
    // and is shorter, or the top lies beyond the room (a column raised
    // across the arena to the far wall): a point among the columns of a
    // wall or the ceiling goes out through the tops.
    constexpr float kClear = 1e-3f;
    const WayOut& side = ways->side;
    const WayOut& top = ways->top;
    if (!std::isfinite(side.depth))
        return top;
    const bool sideFree = room.Contains(point + side.direction * (side.depth + kClear)) &&
                          !FirstColumnHolding(point + side.direction * (side.depth + kClear), margin);
    const bool topInRoom = room.Contains(point + top.direction * top.depth);
    if (sideFree && (side.depth < top.depth || !topInRoom))
        return side;
    return top;
}

} // namespace TileColumns
