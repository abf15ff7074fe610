#include "game/arena/ArenaRoom.h"

#include "game/arena/HexGrid.h"
#include "game/arena/HexLayout.h"

#include <algorithm>
#include <limits>

namespace {

constexpr float kUnbounded = std::numeric_limits<float>::infinity();
// The floor is side 1; its opposite, the ceiling, side 4.
constexpr int kFloorSide = 1;

bool HasTiles(const HexGrid& grid, int side)
{
    return HexLayout::SideTileCount(grid.rows[side], grid.cols[side]) > 0;
}

// The resting tops of one side's tiles, along the axis its tiles face.
float TopsOf(const HexGrid& grid, int side, int axis)
{
    const glm::vec3& up = HexLayout::kSides[side].up;
    return grid.sideCentres[side][axis] + up[axis] * grid.tileScale.y;
}

} // namespace

ArenaRoom ArenaRoom::Of(const HexGrid& grid)
{
    ArenaRoom room{glm::vec3(-kUnbounded), glm::vec3(kUnbounded)};
    // Side k (0 to 2) faces up axis k, and side k + 3 stands opposite it.
    for (int axis = 0; axis < 3; ++axis) {
        const int low = axis;
        const int high = axis + 3;
        float half = kUnbounded;
        if (HasTiles(grid, low))
            half = std::min(half, -TopsOf(grid, low, axis));
        if (HasTiles(grid, high))
            half = std::min(half, TopsOf(grid, high, axis));
        if (HasTiles(grid, low))
            room.min[axis] = -half;
        if (HasTiles(grid, high))
            room.max[axis] = half;
    }
    if (HasTiles(grid, kFloorSide))
        room.min.y -= kFloorHoleSteps * HexLayout::StepLength(grid.tileScale);
    return room;
}

bool ArenaRoom::Contains(const glm::vec3& point) const
{
    return glm::all(glm::greaterThanEqual(point, min)) && glm::all(glm::lessThanEqual(point, max));
}

glm::vec3 ArenaRoom::Clamp(const glm::vec3& point) const { return glm::clamp(point, min, max); }

ArenaRoom ArenaRoom::ForBody(const glm::vec3& halfExtents) const
{
    ArenaRoom inner{min + halfExtents, max - halfExtents};
    // A room too narrow for the body holds it on the room's middle line.
    for (int axis = 0; axis < 3; ++axis) {
        if (inner.min[axis] > inner.max[axis])
            inner.min[axis] = inner.max[axis] = (min[axis] + max[axis]) * 0.5f;
    }
    return inner;
}
