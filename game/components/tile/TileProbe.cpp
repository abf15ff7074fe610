#include "game/components/tile/TileProbe.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "game/components/tile/TileHooks.h"

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

// The five rays, started `aboveTop` beyond the top face (below it when
// negative).
std::vector<Engine::RayHit> CastFrom(Engine::EntityHandle tile, float aboveTop)
{
    const glm::vec3 d = RiseDirection(tile);
    const glm::vec3 scale = *Engine::Transform::ScalePtr(tile);
    const glm::vec3 top = Engine::Transform::GetWorldPosition(tile) + d * (scale.y + aboveTop);
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

bool IsTile(Engine::EntityHandle entity) { return Engine::EntityTagCompManager::GetInstance().HasTag(entity, "Tile"); }

} // namespace

glm::vec3 RiseDirection(Engine::EntityHandle tile)
{
    const glm::vec3 up = *Engine::Transform::UpPtr(tile);
    return TileHooks::ArenaFlipped() ? glm::vec3(-up.x, -up.y, up.z) : up;
}

std::vector<Engine::RayHit> Cast(Engine::EntityHandle tile) { return CastFrom(tile, kLift); }

Engine::RayHit FirstTileAhead(Engine::EntityHandle tile, float reach, bool inclusive)
{
    for (const Engine::RayHit& hit : Cast(tile)) {
        const bool near = inclusive ? hit.distance <= reach : hit.distance < reach;
        if (near && IsTile(hit.entity))
            return hit;
    }
    return Engine::RayHit{};
}

// The rays start a hair inside the tile, where its top face stood before
// the move: no ray meets the tile itself from within, and a tile the face
// touched then or has moved into since lies ahead of them all the same. The
// nearest counts: stopped at a farther one, the tile would stand inside it.
std::optional<float> TileReached(Engine::EntityHandle tile, float reach, float moved)
{
    const float startToUsual = moved + 2.0f * kLift;
    std::optional<float> nearest;
    for (const Engine::RayHit& hit : CastFrom(tile, -(moved + kLift))) {
        const float distance = hit.distance - startToUsual;
        if (distance < reach && (!nearest || distance < *nearest) && IsTile(hit.entity))
            nearest = distance;
    }
    return nearest;
}

} // namespace TileProbe
