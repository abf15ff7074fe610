#include "game/components/player/PlayerHold.h"

#include "engine/collision/CollisionComp.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
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
#include <vector>

namespace PlayerHold {
namespace {

// Every player's entity carries it, the peer's player's too.
constexpr const char* kPlayerTag = "Player";

// Columns sweeping past while the arena turns, or another player standing
// by, may stand close round the player: each way out may lead into the
// next, a few times at the most.
constexpr int kMostSolids = 8;

// How far the player's centre keeps from a column: its standing body's
// largest half extent, which holds its eyes too.
float ColumnMargin(Engine::EntityHandle player)
{
    const glm::vec3 half = StandingHalfExtents(player);
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

// Another player's body, looked at closely only where the player's comes
// within reach of it.
struct Neighbour {
    Engine::EntityHandle entity;
    glm::vec3 centre{0.0f};
    float reach = 0.0f;
};

// What the player is kept out of: the room's columns and the other
// players' bodies.
struct Solids {
    ArenaRoom room;
    float margin = 0.0f;
    Engine::EntityHandle self;
    float reach = 0.0f;
    std::vector<Neighbour> neighbours;

    std::optional<TileColumns::WayOut> WayOut(const glm::vec3& place) const
    {
        if (std::optional<TileColumns::WayOut> way = TileColumns::WayOutOfColumns(place, margin, room))
            return way;
        for (const Neighbour& other : neighbours) {
            const glm::vec3 apart = place - other.centre;
            const float reaches = reach + other.reach;
            if (glm::dot(apart, apart) >= reaches * reaches)
                continue;
            const PhysicsBox theirs = PhysicsBox::Of(other.entity, other.centre);
            if (std::optional<TileColumns::WayOut> way = PhysicsBox::Of(self, place).WayOutOf(theirs))
                return way;
        }
        return std::nullopt;
    }
};

// Columns raised across the arena to its far wall, or a column beside
// another player, may stand round the player with no way out of one that
// ends in the room and in nothing else: then the nearest free place across
// them, ring by ring round the last way out tried (a column's axis, a
// side's or a body's face normal).
glm::vec3 NearestFreePlace(const glm::vec3& place, const glm::vec3& axis, const Solids& solids)
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
            if (solids.room.Contains(at) && !solids.WayOut(at))
                return at;
        }
    }
    return place;
}

// Out of the solids the place is in, and no faster into any of them.
glm::vec3 OutOfSolids(glm::vec3 place, const Solids& solids, glm::vec3* velocity)
{
    std::optional<TileColumns::WayOut> way = solids.WayOut(place);
    for (int i = 0; way && i < kMostSolids; ++i) {
        place = solids.room.Clamp(place + way->direction * way->depth);
        if (velocity) {
            const float into = glm::dot(*velocity, way->direction);
            if (into < 0.0f)
                *velocity -= way->direction * into;
        }
        way = solids.WayOut(place);
    }
    return way ? NearestFreePlace(place, way->direction, solids) : place;
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

ArenaRoom RoomFor(Engine::EntityHandle player)
{
    return ArenaRoom::Of(HexGrid::GetInstance()).ForBody(StandingHalfExtents(player));
}

void Hold(Player_LogicComp& player, std::span<const Engine::EntityHandle> others)
{
    if (player.mRemote || !MatchRecorder::GetInstance().isLive)
        return;
    const Engine::EntityHandle self = player.GetOwner();
    const glm::vec3 at = Engine::Transform::GetWorldPosition(self);
    Solids solids{RoomFor(self), ColumnMargin(self), self, PhysicsBox::Reach(self), {}};
    for (const Engine::EntityHandle& other : others) {
        if (other != self && Engine::Transform::PositionPtr(other))
            solids.neighbours.push_back({other, Engine::Transform::GetWorldPosition(other), PhysicsBox::Reach(other)});
    }
    Engine::CollisionComp* body = PlayerFrame::BodyOf(self);
    glm::vec3* velocity = body ? &body->mVelocity.value : nullptr;
    const glm::vec3 inRoom = solids.room.Clamp(at);
    if (velocity)
        StopAgainst(*velocity, inRoom - at);
    const glm::vec3 held = OutOfSolids(inRoom, solids, velocity);
    if (held != at)
        Engine::Transform::SetWorldPosition(self, held);
    MoveTheView(player, held);
}

void HoldLocalPlayers()
{
    const std::vector<Engine::EntityHandle> everyone =
        Engine::EntityTagCompManager::GetInstance().FindEntitiesWithTag(kPlayerTag);
    for (const Engine::EntityHandle& entity : everyone) {
        if (Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity))
            Hold(*player, everyone);
    }
}

bool PushesInPhysics(Engine::EntityHandle a, Engine::EntityHandle b)
{
    const Player_LogicComp* first = Engine::LogicManager::GetCompPtr<Player_LogicComp>(a);
    const Player_LogicComp* second = first ? Engine::LogicManager::GetCompPtr<Player_LogicComp>(b) : nullptr;
    return !second || (!first->mRemote && !second->mRemote);
}

} // namespace PlayerHold
