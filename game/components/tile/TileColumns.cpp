#include "game/components/tile/TileColumns.h"

#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Transform.h"
#include "game/components/tile/TileProbe.h"

#include <cmath>

namespace TileColumns {
namespace {

// A tile rising more along y than this is a floor tile.
constexpr float kFloorRise = 0.5f;

// A hexagon's inner radius for its outer radius.
float InnerRadius(float outer) { return outer * std::sqrt(3.0f) * 0.5f; }

// Any unit direction across the axis, for a point right on it.
glm::vec3 Across(const glm::vec3& axis)
{
    const glm::vec3 other = std::fabs(axis.x) < 0.9f ? glm::vec3(1.0f, 0.0f, 0.0f) : glm::vec3(0.0f, 0.0f, 1.0f);
    return glm::normalize(glm::cross(axis, other));
}

// The ways out of one column, taken as the cylinder round its hexagon's
// inner circle: through its top, and out of its side. The column's back
// lies outside the arena and is never the way.
struct WaysOut {
    WayOut top;
    WayOut side;
};

std::optional<WaysOut> OutOf(Engine::EntityHandle tile, const glm::vec3& point, float margin)
{
    const glm::vec3* scale = Engine::Transform::ScalePtr(tile);
    if (!scale)
        return std::nullopt;
    const glm::vec3 offset = point - Engine::Transform::GetWorldPosition(tile);
    const float reach = scale->y + scale->x + margin;
    if (glm::dot(offset, offset) > reach * reach)
        return std::nullopt;
    const glm::vec3 axis = TileProbe::RiseDirection(tile);
    if (axis.y > kFloorRise)
        return std::nullopt;
    const float along = glm::dot(offset, axis);
    const glm::vec3 aside = offset - axis * along;
    const float fromAxis = glm::length(aside);
    const float halfLength = scale->y + margin;
    const float radius = InnerRadius(scale->x) + margin;
    if (std::fabs(along) >= halfLength || fromAxis >= radius)
        return std::nullopt;
    return WaysOut{{axis, halfLength - along},
                   {fromAxis > 0.0f ? aside / fromAxis : Across(axis), radius - fromAxis}};
}

// The arena's colliders filed near the point are the only columns that can
// hold it: a column's filed box holds the column, and the walk meets every
// collider whose box lies within `margin` of the point.
std::optional<WaysOut> FirstColumnHolding(const glm::vec3& point, float margin)
{
    const Engine::CollisionTable& table = Engine::CollisionTable::GetInstance();
    if (!table.HasTag("Tile"))
        return std::nullopt;
    const std::uint32_t tileType = table.GetTagValue("Tile");
    for (const Engine::EntityHandle tile :
         Engine::SpatialCollisionMgr::GetInstance().CollidersNear(point, margin, tileType)) {
        if (!tile.IsValid())
            continue;
        if (std::optional<WaysOut> ways = OutOf(tile, point, margin))
            return ways;
    }
    return std::nullopt;
}

} // namespace

std::optional<WayOut> WayOutOfColumns(const glm::vec3& point, float margin)
{
    const std::optional<WaysOut> ways = FirstColumnHolding(point, margin);
    if (!ways)
        return std::nullopt;
    // Out of the side only when that is shorter and lands in no other
    // column: a point among the columns of a wall or the ceiling goes out
    // through the tops.
    constexpr float kClear = 1e-3f;
    const WayOut& side = ways->side;
    if (side.depth < ways->top.depth &&
        !FirstColumnHolding(point + side.direction * (side.depth + kClear), margin))
        return side;
    return ways->top;
}

} // namespace TileColumns
