#include "game/components/player/PlayerHold.h"

#include "engine/collision/CollisionComp.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/render/Camera.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/tile/TileColumns.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/constants.hpp>
#include <optional>

namespace PlayerHold {
namespace {

// Columns sweeping past while the arena turns may stand close round the
// player: each way out may lead into the next, a few times at the most.
constexpr int kMostColumns = 8;

// How far the player's centre keeps from a column: its body's largest half
// extent, which holds its eyes too.
float ColumnMargin(Engine::EntityHandle player)
{
    const glm::vec3 half = HalfExtents(player);
    return std::max({half.x, half.y, half.z});
}

// A velocity that would carry the body back where it was pushed from stops.
void StopAgainst(glm::vec3& velocity, const glm::vec3& push)
{
    for (int axis = 0; axis < 3; ++axis) {
        if (push[axis] * velocity[axis] < 0.0f)
            velocity[axis] = 0.0f;
    }
}

// Columns raised across the arena to its far wall may stand side by side
// round the player with no way out of one that ends in the room: then the
// nearest free place across them, ring by ring round the last way out
// tried (a column's axis, or a side's normal).
glm::vec3 NearestFreePlace(const glm::vec3& place, const glm::vec3& axis, const ArenaRoom& room, float margin)
{
    constexpr int kRings = 24;
    constexpr int kDirections = 12;
    constexpr float kRingStep = 1.0f;
    const glm::vec3 other = std::fabs(axis.x) < 0.9f ? glm::vec3(1.0f, 0.0f, 0.0f) : glm::vec3(0.0f, 0.0f, 1.0f);
    const glm::vec3 u = glm::normalize(glm::cross(axis, other));
    const glm::vec3 v = glm::cross(axis, u);
    for (int ring = 1; ring <= kRings; ++ring) {
        for (int i = 0; i < kDirections; ++i) {
            const float angle = glm::two_pi<float>() * static_cast<float>(i) / kDirections;
            const glm::vec3 at = place + (u * std::cos(angle) + v * std::sin(angle)) * (kRingStep * ring);
            if (room.Contains(at) && !TileColumns::WayOutOfColumns(at, margin, room))
                return at;
        }
    }
    return place;
}

// Out of the wall and ceiling columns the place is in, and no faster into
// any of them.
glm::vec3 OutOfColumns(glm::vec3 place, const ArenaRoom& room, float margin, glm::vec3* velocity)
{
    std::optional<TileColumns::WayOut> way = TileColumns::WayOutOfColumns(place, margin, room);
    for (int i = 0; way && i < kMostColumns; ++i) {
        place = room.Clamp(place + way->direction * way->depth);
        if (velocity) {
            const float into = glm::dot(*velocity, way->direction);
            if (into < 0.0f)
                *velocity -= way->direction * into;
        }
        way = TileColumns::WayOutOfColumns(place, margin, room);
    }
    return way ? NearestFreePlace(place, way->direction, room, margin) : place;
}

// The movement placed the camera from where the player stood then; what
// moved the player since (the physics, the hold) moves the view by as much.
void MoveTheView(const Player_LogicComp& player, const glm::vec3& at)
{
    Engine::Camera* camera = PlayerFrame::CameraOf(player.mCamera);
    if (!camera)
        return;
    const glm::vec3 shift = at + player.mViewOffset - camera->mPos.value;
    camera->SetPosition(camera->mPos.value + shift);
    camera->SetTarget(camera->mTarget.value + shift);
}

} // namespace

glm::vec3 HalfExtents(Engine::EntityHandle player)
{
    const glm::vec3* scale = Engine::Transform::ScalePtr(player);
    return scale ? 0.5f * glm::abs(*scale) : glm::vec3(0.0f);
}

ArenaRoom RoomFor(Engine::EntityHandle player)
{
    return ArenaRoom::Of(HexGrid::GetInstance()).ForBody(HalfExtents(player));
}

void Hold(Player_LogicComp& player)
{
    if (player.mRemote || !MatchRecorder::GetInstance().isLive)
        return;
    const Engine::EntityHandle self = player.GetOwner();
    const ArenaRoom room = RoomFor(self);
    const glm::vec3 at = Engine::Transform::GetWorldPosition(self);
    Engine::CollisionComp* body = PlayerFrame::BodyOf(self);
    glm::vec3* velocity = body ? &body->mVelocity.value : nullptr;
    const glm::vec3 inRoom = room.Clamp(at);
    if (velocity)
        StopAgainst(*velocity, inRoom - at);
    const glm::vec3 held = OutOfColumns(inRoom, room, ColumnMargin(self), velocity);
    if (held != at)
        Engine::Transform::SetWorldPosition(self, held);
    MoveTheView(player, held);
}

void HoldLocalPlayers()
{
    for (const Engine::EntityHandle& entity :
         Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(Net::Names::kLocalPlayer)) {
        if (Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity))
            Hold(*player);
    }
}

} // namespace PlayerHold
