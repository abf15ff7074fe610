#include "game/components/player/PlayerBody.h"

#include "engine/collision/CollisionComp.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/InputManager.h"
#include "engine/core/Transform.h"
#include "engine/render/Camera.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/tile/TileColumns.h"
#include "game/components/tile/TileProbe.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <limits>

namespace PlayerBody {
namespace {

constexpr float kEyeHeight = 0.25f;
constexpr float kLookDistance = 20.0f;
constexpr float kLookSpeed = 5.0f;

// A look down from this far above the feet spans the arena's whole height,
// from the bottom of the box that holds the players to the top of the
// tallest column.
constexpr float kSinkReach = 50.0f;

glm::vec3 Down() { return glm::vec3(0.0f, -1.0f, 0.0f); }

// A tile whose top faces up, to stand on; not a wall's or the ceiling's.
bool FloorTile(Engine::EntityHandle entity)
{
    return Engine::EntityTagCompManager::GetInstance().HasTag(entity, "Tile") &&
           TileProbe::RiseDirection(entity).y > 0.5f;
}

// How deep the feet are inside a floor tile, 0 when they are not. A ray
// from inside a tile does not see that tile, so a player who walks into a
// raised column, lands a hair inside a tile, or is held at mid-height while
// the arena turns over onto a raised column would drop through the floor
// and stay under it; seen from above, the tile's top lies over the feet.
float SinkDepth(const glm::vec3& feet)
{
    const Engine::RayHit above = Engine::SpatialCollisionMgr::GetInstance().RayCast(
        feet - Down() * kSinkReach, Down());
    if (above.distance < 0.0f || above.distance >= kSinkReach || !FloorTile(above.entity))
        return 0.0f;
    return kSinkReach - above.distance;
}

float AxisStep(float value, float deadZone)
{
    if (value > deadZone)
        return 1.0f;
    return value < -deadZone ? -1.0f : 0.0f;
}

// The velocity along one axis that moves from `at` by at most as far as the
// bounds within dt.
float VelocityWithin(float velocity, float at, float low, float high, float dt)
{
    return std::clamp(velocity, (low - at) / dt, (high - at) / dt);
}

// How far a player's centre keeps from a column: its body's half extent,
// and room for the column's next step. Tiles may update after the player in
// a frame, and a step moves a column up to two thirds of a unit in a frame
// at the frame time's cap: the view, a quarter above the centre, stays out.
float BodyMargin(Engine::EntityHandle player)
{
    constexpr float kColumnStepInAFrame = 1.0f;
    const glm::vec3* scale = Engine::Transform::ScalePtr(player);
    const float halfExtent = scale ? std::max({std::fabs(scale->x), std::fabs(scale->y), std::fabs(scale->z)}) : 0.0f;
    return halfExtent + kColumnStepInAFrame;
}

// Out of the wall and ceiling columns the place is in, a few at most (a
// corner between columns), and no faster into the last one left.
glm::vec3 OutOfColumns(glm::vec3 place, float margin, Engine::CollisionComp* body)
{
    constexpr int kMostColumns = 3;
    for (int i = 0; i < kMostColumns; ++i) {
        const std::optional<TileColumns::WayOut> way = TileColumns::WayOutOfColumns(place, margin);
        if (!way)
            break;
        place += way->direction * way->depth;
        if (body) {
            const float into = glm::dot(body->mVelocity.value, way->direction);
            if (into < 0.0f)
                body->mVelocity.value -= way->direction * into;
        }
    }
    return place;
}

// v += a only while that does not push it further past the cap; then capped.
void AccelerateAxis(float& v, float a, float maxSpeed)
{
    if (v <= maxSpeed && a >= 0.0f)
        v += a;
    if (v >= -maxSpeed && a <= 0.0f)
        v += a;
    v = glm::clamp(v, -maxSpeed, maxSpeed);
}

} // namespace

float GroundDistance(const Player_LogicComp& player)
{
    const Engine::EntityHandle self = player.GetOwner();
    const glm::vec3* scale = Engine::Transform::ScalePtr(self);
    const float halfHeight = scale ? 0.5f * scale->y : 0.0f;
    const glm::vec3 feet = Engine::Transform::GetWorldPosition(self) - glm::vec3(0.0f, halfHeight, 0.0f);
    const Engine::RayHit hit = Engine::SpatialCollisionMgr::GetInstance().RayCast(feet, Down());
    if (hit.distance >= 0.0f && hit.distance <= player.LevitScale.value)
        return hit.distance;
    if (const float sunk = SinkDepth(feet); sunk > 0.0f)
        return -sunk;
    return hit.distance < 0.0f ? std::numeric_limits<float>::infinity() : hit.distance;
}

bool Hover(Player_LogicComp& player)
{
    Engine::CollisionComp* body = PlayerFrame::BodyOf(player.GetOwner());
    const float distance = GroundDistance(player);
    if (distance > player.LevitScale.value) {
        if (body)
            body->mGravity.value = player.mSavedGravity;
        MatchRecorder& recorder = MatchRecorder::GetInstance();
        if (recorder.isRecording)
            recorder.AddMomentPoints(player.mPlayerNumber, MatchRecorder::MovementStep);
        return false;
    }
    if (body) {
        body->mGravity.value = glm::vec3(0.0f);
        body->mVelocity.value.y = 0.0f;
    }
    Engine::Transform::PositionRef(player.GetOwner()).y += player.LevitScale.value - distance;
    player.mJumpsUsed = 0;
    return true;
}

glm::vec3 Acceleration(const glm::vec2& axes, const glm::vec3& forward, const glm::vec3& right, float step,
                       float deadZone)
{
    return right * (AxisStep(axes.x, deadZone) * step) + forward * (AxisStep(axes.y, deadZone) * step);
}

void Accelerate(glm::vec3& velocity, const glm::vec3& acceleration, float maxSpeed)
{
    AccelerateAxis(velocity.x, acceleration.x, maxSpeed);
    AccelerateAxis(velocity.z, acceleration.z, maxSpeed);
}

glm::vec2 MoveAxes(const PlayerControls& controls)
{
    if (controls.UsesController())
        return controls.LeftStick();
    using Slot = InputBindings::Slot;
    auto held = [&](Slot slot) { return controls.Held(slot, slot) ? 1.0f : 0.0f; };
    return {held(Slot::Right) - held(Slot::Left), held(Slot::Forward) - held(Slot::Back)};
}

glm::vec2 LookDelta(Player_LogicComp& player, const PlayerControls& controls, float sensitivity)
{
    if (player.mRadialOpen)
        return glm::vec2(0.0f);
    if (controls.UsesController()) {
        const glm::vec2 stick = controls.RightStick();
        return {stick.x * player.MaxGamepadX.value, stick.y * player.MaxGamepadY.value};
    }
    const glm::vec2 motion = Engine::InputManager::GetInstance().GetMouseDelta();
    const glm::vec2 fresh = motion == player.mLastMouseMotion ? glm::vec2(0.0f) : motion;
    player.mLastMouseMotion = motion;
    return fresh * sensitivity;
}

void Look(Player_LogicComp& player, const glm::vec2& delta)
{
    Engine::Camera* camera = PlayerFrame::CameraOf(player.mCamera);
    if (!camera)
        return;
    const Engine::EntityHandle self = player.GetOwner();
    const glm::vec3 position = Engine::Transform::GetWorldPosition(self);
    if (MatchRecorder::GetInstance().IsReplaying()) {
        camera->SetPosition(position);
        return;
    }
    const glm::vec3* scale = Engine::Transform::ScalePtr(self);
    const glm::vec3* up = Engine::Transform::UpPtr(self);
    const glm::vec3 eyes = position + (up ? *up : glm::vec3(0.0f, 1.0f, 0.0f)) * (kEyeHeight * (scale ? scale->y : 1.0f));
    camera->SetPosition(eyes);
    const float k = PlayerFrame::Dt() * kLookSpeed;
    camera->SetTarget(eyes + camera->forward * kLookDistance + camera->right * (delta.x * k) + camera->up * (delta.y * k));
}

ArenaRoom HeldRoom(Engine::EntityHandle player)
{
    const glm::vec3* scale = Engine::Transform::ScalePtr(player);
    return ArenaRoom::Of(HexGrid::GetInstance()).ForBody(scale ? glm::abs(*scale) : glm::vec3(0.0f));
}

void HoldInArena(Player_LogicComp& player)
{
    // A peer's player is held by its own machine, and a replay shows the
    // places recorded.
    if (player.mRemote || !MatchRecorder::GetInstance().isLive)
        return;
    const Engine::EntityHandle self = player.GetOwner();
    const ArenaRoom room = HeldRoom(self);
    const glm::vec3 at = Engine::Transform::GetWorldPosition(self);
    Engine::CollisionComp* body = PlayerFrame::BodyOf(self);
    const glm::vec3 inside = room.Clamp(OutOfColumns(room.Clamp(at), BodyMargin(self), body));
    if (inside != at)
        Engine::Transform::SetWorldPosition(self, inside);
    const float dt = PlayerFrame::ScaledDt();
    if (!body || !(dt > 0.0f))
        return;
    // The step moves the body by (velocity + gravity dt) x drag x dt, and the
    // drag only shortens that.
    const glm::vec3 pull = body->mGravity.value * dt;
    glm::vec3& velocity = body->mVelocity.value;
    for (int axis = 0; axis < 3; ++axis) {
        const float reach = velocity[axis] + pull[axis];
        const float held = VelocityWithin(reach, inside[axis], room.min[axis], room.max[axis], dt);
        if (held != reach)
            velocity[axis] = held - pull[axis];
    }
}

} // namespace PlayerBody
