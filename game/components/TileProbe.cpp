#include "game/components/TileProbe.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "game/components/TileSeams.h"

#include <array>
#include <cmath>

namespace TileProbe {
namespace {

// The start a hair above the top face, so the tile never meets itself.
constexpr float kLift = 0.01f;
// The rim points stay inside the hexagon: 0.8 of the outer radius across,
// and 0.8 of the inner radius along forward.
constexpr float kRimShare = 0.8f;
const float kCos30 = std::sqrt(3.0f) / 2.0f;

} // namespace

glm::vec3 RiseDirection(Engine::EntityHandle tile)
{
    const glm::vec3 up = *Engine::Transform::UpPtr(tile);
    return TileSeams::ArenaFlipped() ? glm::vec3(-up.x, -up.y, up.z) : up;
}

std::vector<Engine::RayHit> Cast(Engine::EntityHandle tile)
{
    const glm::vec3 d = RiseDirection(tile);
    const glm::vec3 scale = *Engine::Transform::ScalePtr(tile);
    const glm::vec3 top = Engine::Transform::GetWorldPosition(tile) + d * (scale.y + kLift);
    const glm::vec3 across = Engine::Transform::GetRight(tile) * (scale.x * kRimShare);
    const glm::vec3 along = *Engine::Transform::ForwardPtr(tile) * (scale.z * kRimShare) * kCos30;
    const std::array<glm::vec3, 5> starts = {top + across, top - across, top + along, top - along, top};

    const Engine::SpatialCollisionMgr& colliders = Engine::SpatialCollisionMgr::GetInstance();
    std::vector<Engine::RayHit> hits;
    for (const glm::vec3& start : starts) {
        const Engine::RayHit hit = colliders.RayCast(start, d);
        if (hit.distance >= 0.0f)
            hits.push_back(hit);
    }
    return hits;
}

Engine::RayHit FirstTileAhead(Engine::EntityHandle tile, float reach, bool inclusive)
{
    const Engine::EntityTagCompManager& tags = Engine::EntityTagCompManager::GetInstance();
    for (const Engine::RayHit& hit : Cast(tile)) {
        const bool near = inclusive ? hit.distance <= reach : hit.distance < reach;
        if (near && tags.HasTag(hit.entity, "Tile"))
            return hit;
    }
    return Engine::RayHit{};
}

} // namespace TileProbe
