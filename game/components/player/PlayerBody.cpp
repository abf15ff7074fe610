#include "game/components/player/PlayerBody.h"

#include "engine/collision/CollisionComp.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/InputManager.h"
#include "engine/core/Transform.h"
#include "engine/render/Camera.h"
#include "game/arena/ArenaRoom.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/tile/TileProbe.h"
#include "game/config/MovementSlots.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace PlayerBody {
namespace {

constexpr float kEyeHeight = 0.25f;
constexpr float kLookDistance = 20.0f;
// The right stick gives a rate: held, it turns the view by so much a
// second (radians per unit of the pad's look speed), at any frame rate.
constexpr float kStickTurnPerSecond = 0.25f;
// The mouse gives a distance: a pixel turns the view this much whatever the
// frame took, the stick's turn over a 125 Hz mouse's 8 ms.
constexpr float kMouseTurnPerPixel = kStickTurnPerSecond * 0.008f;
// The view stops this far short of straight up and straight down: past the
// vertical its right-hand side would flip, and the body that faces the view
// with it.
const float kSteepestLook = glm::radians(85.0f);

// A look down from this far above the feet spans the arena's whole height,
// from the bottom of the box that holds the players to the top of the
// tallest column.
constexpr float kSinkReach = 50.0f;

glm::vec3 Down() { return glm::vec3(0.0f, -1.0f, 0.0f); }

// A tile whose top faces up, to stand on; not a wall's or the ceiling's.
bool FloorTile(Engine::EntityHandle entity)
{
    return Engine::EntityTagCompManager::GetInstance().HasTag(entity, "Tile") &&
           TileProbe::RisesAsAFloor(TileProbe::RiseDirection(entity));
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

// How far below the feet the room's floor lies: the top of a floor tile
// lowered two steps. A deeper hole is stood over as over that one, not
// fallen into and floated in without a jump; infinity without a floor.
float RoomFloorBelow(const glm::vec3& feet) { return feet.y - ArenaRoom::Of(HexGrid::GetInstance()).min.y; }

float AxisStep(float value, float deadZone)
{
    if (value > deadZone)
        return 1.0f;
    return value < -deadZone ? -1.0f : 0.0f;
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

// Where the camera looks as the last one to aim it left it (the start
// aims at the arena's middle, playback wherever it was recorded); its last
// direction when its target sits on its eye.
glm::vec3 AimOf(const Engine::Camera& camera)
{
    const glm::vec3 aim = camera.mTarget.value - camera.mPos.value;
    const float length = glm::length(aim);
    return length > 1e-6f && std::isfinite(length) ? aim / length : camera.forward;
}

// The aim turned right by delta.x and up by delta.y radians; its height
// stays within the steepest look, so a hand pushing further turns nothing
// more and the first move back turns it back. Straight up or down, the
// camera's right-hand side tells the heading.
glm::vec3 Turned(const glm::vec3& aim, const glm::vec3& right, const glm::vec2& delta)
{
    const float across = std::hypot(aim.x, aim.z);
    const float heading = (across > 1e-6f ? std::atan2(aim.x, -aim.z) : std::atan2(right.z, right.x)) + delta.x;
    const float elevation = glm::clamp(std::atan2(aim.y, across) + delta.y, -kSteepestLook, kSteepestLook);
    return glm::vec3(std::cos(elevation) * std::sin(heading), std::sin(elevation),
                     -std::cos(elevation) * std::cos(heading));
}

} // namespace

float GroundDistance(const Player_LogicComp& player)
{
    const Engine::EntityHandle self = player.GetOwner();
    const glm::vec3* scale = Engine::Transform::ScalePtr(self);
    const float halfHeight = scale ? 0.5f * scale->y : 0.0f;
    const glm::vec3 feet = Engine::Transform::GetWorldPosition(self) - glm::vec3(0.0f, halfHeight, 0.0f);
    const Engine::RayHit hit = Engine::SpatialCollisionMgr::GetInstance().RayCast(feet, Down());
    const float below = hit.distance < 0.0f ? std::numeric_limits<float>::infinity() : hit.distance;
    const float ground = std::min(below, RoomFloorBelow(feet));
    if (ground >= 0.0f && ground <= player.LevitScale.value)
        return ground;
    if (const float sunk = SinkDepth(feet); sunk > 0.0f)
        return -sunk;
    return ground;
}

bool Hover(Player_LogicComp& player)
{
    Engine::CollisionComp* body = PlayerFrame::BodyOf(player.GetOwner());
    const float distance = GroundDistance(player);
    if (distance > player.LevitScale.value) {
        if (body)
            body->mGravity.value = player.mSavedGravity;
        MatchRecorder::GetInstance().AddMomentPoints(player.mPlayerNumber, MatchRecorder::MovementStep);
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
    glm::vec2 axes(0.0f);
    for (const MovementSlots::Walk& walk : MovementSlots::kWalks) {
        if (controls.Held(walk.slot, walk.slot))
            axes += glm::vec2(walk.right, walk.forward);
    }
    return axes;
}

glm::vec2 LookDelta(const Player_LogicComp& player, const PlayerControls& controls, float sensitivity)
{
    if (player.mRadialOpen)
        return glm::vec2(0.0f);
    if (controls.UsesController()) {
        const glm::vec2 stick = controls.RightStick();
        const glm::vec2 rate(stick.x * player.MaxGamepadX.value, stick.y * player.MaxGamepadY.value);
        return rate * (PlayerFrame::Dt() * kStickTurnPerSecond);
    }
    return Engine::InputManager::GetInstance().GetMouseDelta() * (sensitivity * kMouseTurnPerPixel);
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
    const glm::vec3 aim = AimOf(*camera);
    const glm::vec3* scale = Engine::Transform::ScalePtr(self);
    const glm::vec3* up = Engine::Transform::UpPtr(self);
    const glm::vec3 eyes = position + (up ? *up : glm::vec3(0.0f, 1.0f, 0.0f)) * (kEyeHeight * (scale ? scale->y : 1.0f));
    camera->SetPosition(eyes);
    player.mViewOffset = eyes - position;
    camera->SetTarget(eyes + Turned(aim, camera->right, delta) * kLookDistance);
}

} // namespace PlayerBody
