#include "game/components/ball/BallStates.h"

#include "engine/collision/CollisionComp.h"
#include "engine/core/InputManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/render/CameraManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/MatchStats.h"
#include "game/components/ball/BallMessages.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TempBallComp.h"

#include <algorithm>
#include <cmath>

namespace {

using Slot = InputBindings::Slot;

// Q recalls a returning ball into the hand, whatever the bindings say.
constexpr std::int32_t kCatchKey = 20;
// Share of its velocity a disintegrating ball loses each update.
constexpr float kDisintegrateLoss = 0.016f;
constexpr float kStoppedSpeed = 1.0f;
// The held ball spins by this much per second of play.
constexpr float kSpinRate = 0.25f;
constexpr glm::vec3 kWorldUp{0.0f, 1.0f, 0.0f};

// Where the owner's camera looks; the owner's facing without a usable camera.
glm::vec3 AimOf(const Player_LogicComp& player)
{
    if (const Engine::GameCamera* camera = PlayerFrame::CameraOf(player.mCamera)) {
        const glm::vec3 look = camera->mTarget.value - camera->mPos.value;
        const float length = glm::length(look);
        if (std::isfinite(length) && length > 1e-6f)
            return look / length;
    }
    const glm::vec3* forward = Engine::Transform::ForwardPtr(player.GetOwner());
    return forward && glm::length(*forward) > 1e-6f ? glm::normalize(*forward) : glm::vec3(0.0f, 0.0f, 1.0f);
}

} // namespace

TempBallComp* BallFlightState::Ball() const { return Engine::LogicManager::GetCompPtr<TempBallComp>(GetOwner()); }

Player_LogicComp* BallFlightState::Player() const
{
    return mPlayer.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<Player_LogicComp>(mPlayer);
}

bool BallFlightState::OwnerTakesInput() const
{
    const Player_LogicComp* player = Player();
    return player && player->TakesInput();
}

bool BallFlightState::OwnerCanAct() const { return OwnerTakesInput() && Player()->mCanAct; }

void BallFlightState::Request(const char* name) const
{
    if (Engine::StateMachine* machine = GetStateMachine())
        machine->ChangeState(name);
}

void BallIdle::OnEnter()
{
    mFirstPress = 1;
    mCharge = 0.0f;
    TempBallComp* ball = Ball();
    if (!ball)
        return;
    ball->mContacts = 0;
    Engine::CollisionComp* body = PlayerFrame::BodyOf(GetOwner());
    if (body)
        body->mGhost.value = true;
    Player_LogicComp* player = Player();
    if (!player || player->mRemote)
        return;
    if (mShieldReturn) {
        mShieldReturn = 0;
        SetTimer(kShieldReturnSeconds);
    }
    player->mCharging = false;
    if (body)
        body->mVelocity.value = glm::vec3(0.0f);
    Engine::Transform::PositionRef(GetOwner()) = glm::vec3(1.0f, 10.0f, 1.0f);
    Engine::Transform::ScaleRef(GetOwner()) = ball->ChildScale.value;
    ball->mJumpShot = 0;
}

void BallIdle::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player || player->mRemote)
        return;
    FollowOwner();
    if (!MatchRecorder::GetInstance().isLive)
        return;
    if (player->mCharging && player->mExhausted) {
        player->mCharging = false;
        mCharge = 0.0f;
        return;
    }
    if (player->TakesInput())
        ReadShot(*player);
}

// Beside the owner's right hand, a little in front, slowly turning.
void BallIdle::FollowOwner() const
{
    const Engine::EntityHandle ball = GetOwner();
    Engine::Transform::Rotate(ball, kSpinRate * PlayerFrame::ScaledDt(), kWorldUp);
    const glm::vec3* forwardPtr = Engine::Transform::ForwardPtr(mPlayer);
    const glm::vec3* upPtr = Engine::Transform::UpPtr(mPlayer);
    if (!forwardPtr || !upPtr)
        return;
    const glm::vec3 forward = *forwardPtr;
    const glm::vec3 up = *upPtr;
    const glm::vec3 right = glm::cross(forward, up);
    Engine::Transform::SetWorldPosition(ball, Engine::Transform::GetWorldPosition(mPlayer) - right + up * 0.15f + forward);
}

void BallIdle::ReadShot(Player_LogicComp& player)
{
    const PlayerControls controls(mPlayer, player.mPlayerNumber);
    const bool held = controls.Held(Slot::BallShoot, Slot::ControllerShoot);
    const bool charges = player.mPassiveKind == Player_LogicComp::kHoldSpeed;
    // A charged shot leaves when the button is let go or the charge is full.
    if (player.mCharging && charges && (!held || mCharge >= 1.0f))
        Request("BallBouncing");
    if (!player.mCanAct)
        return;
    if (!charges) {
        if (controls.Triggered(Slot::BallShoot, Slot::ControllerShoot))
            Request("BallBouncing");
        return;
    }
    if (player.mRunning || player.mExhausted || !held)
        return;
    if (mFirstPress) {
        mFirstPress = 0;
        player.StartFovKick(0.8f, 1.0f);
    }
    player.mCharging = true;
    mCharge += PlayerFrame::ScaledDt();
}

void BallIdle::OnExit()
{
    Player_LogicComp* player = Player();
    if (!player || player->mRemote || !Ball())
        return;
    Launch(*player);
}

// Out of the hand along the owner's view, at the shot speed (times the
// charge, 0.5 to 2, with the hold-speed perk).
void BallIdle::Launch(Player_LogicComp& player)
{
    TempBallComp& ball = *Ball();
    const Engine::EntityHandle entity = GetOwner();
    mCharge = std::max(std::min(mCharge, 1.0f) * 2.0f, 0.5f);
    MatchStats::GetInstance().Shots.value += 1;
    player.mCharging = false;
    player.StartFovKick(1.0f, 0.125f);

    Engine::Transform::Detach(entity);
    const glm::vec3 aim = AimOf(player);
    Engine::Transform::SetWorldPosition(entity,
                                        Engine::Transform::GetWorldPosition(mPlayer) + aim * (2.0f + std::fabs(aim.y)));
    if (Engine::CollisionComp* body = PlayerFrame::BodyOf(entity)) {
        body->mGhost.value = false;
        body->mInvMass.value = 1.0f;
        body->mGravity.value = glm::vec3(0.0f);
        body->mDrag.value = 1.0f;
        // The held ball rests in the hand: what its body gathered meanwhile
        // (its weight pulls on it even as a ghost) does not bend the shot.
        const float speed = player.ShotSpeed(ball.ShootSpeed.value, 0);
        body->mVelocity.value = aim * (player.mPassiveKind == Player_LogicComp::kHoldSpeed ? mCharge * speed : speed);
    }
    Engine::Transform::ScaleRef(entity) = ball.NormalScale.value;
    ball.mLastNormal = glm::vec3(0.0f);
    ball.mDirect = 1;
    ball.mJumpShot = player.mJumpsUsed >= 1 ? 1 : 0;
}

void BallBouncing::OnEnter()
{
    if (TempBallComp* ball = Ball())
        ball->StartTrail();
    BallMessages::SendTrail(true);
}

void BallBouncing::OnUpdate()
{
    if (const Player_LogicComp* player = Player())
        MatchRecorder::GetInstance().AddMomentPoints(player->mPlayerNumber, MatchRecorder::BouncingBall);
    if (!OwnerCanAct())
        return;
    if (PlayerControls(mPlayer, Player()->mPlayerNumber).UsesController())
        ReadPad();
    else
        ReadMouseAndKeys();
}

// On a pad the first button pressed wins.
void BallBouncing::ReadPad() const
{
    const PlayerControls controls(mPlayer, Player()->mPlayerNumber);
    if (controls.Triggered(Slot::BallReset, Slot::ControllerReset))
        Request("BallIdle");
    else if (controls.Triggered(Slot::BallReturn, Slot::ControllerReturn))
        Request("BallReturn");
    else if (controls.Triggered(Slot::BallDesintegrate, Slot::ControllerDesintegrate))
        Request("BallDesintegrate");
    else if (controls.Triggered(Slot::BallAirRedirect, Slot::ControllerAirRedirect))
        Request("AirRedirect");
}

// With mouse and keys every binding is asked and the last request stands.
// No machine holds "AirRedirect", so that request never replaces a return
// asked by the same button.
void BallBouncing::ReadMouseAndKeys() const
{
    const PlayerControls controls(mPlayer, Player()->mPlayerNumber);
    if (controls.Triggered(Slot::BallReset, Slot::ControllerReset))
        Request("BallIdle");
    if (controls.Triggered(Slot::BallReturn, Slot::ControllerReturn))
        Request("BallReturn");
    if (controls.Triggered(Slot::BallDesintegrate, Slot::ControllerDesintegrate))
        Request("BallDesintegrate");
    if (controls.Triggered(Slot::BallAirRedirect, Slot::ControllerAirRedirect))
        Request("AirRedirect");
}

void BallBouncing::OnExit()
{
    if (TempBallComp* ball = Ball())
        ball->EndTrail();
    BallMessages::SendTrail(false);
}

void BallReturn::OnUpdate()
{
    TempBallComp* ball = Ball();
    if (!ball)
        return;
    ball->EndTrail();
    Player_LogicComp* player = Player();
    if (!player)
        return;
    MatchRecorder::GetInstance().AddMomentPoints(player->mPlayerNumber, MatchRecorder::ReturningBall);
    if (player->mRemote)
        return;
    if (player->TakesInput() && Engine::InputManager::GetInstance().IsKeyTriggered(kCatchKey))
        Request("BallIdle");
    const glm::vec3 toOwner = Engine::Transform::GetWorldPosition(mPlayer) - Engine::Transform::GetWorldPosition(GetOwner());
    const float distance = glm::length(toOwner);
    if (Engine::CollisionComp* body = PlayerFrame::BodyOf(GetOwner())) {
        const float speed = player->ShotSpeed(ball->ReturnSpeed.value, static_cast<int>(ball->mContacts));
        body->mVelocity.value = distance > 1e-6f ? toOwner / distance * speed : glm::vec3(0.0f);
    }
    if (distance < kCatchDistance)
        Request("BallIdle");
}

void ReturnBounce::OnEnter() { Request("BallReturn"); }

// The request for the hand replaces the return asked on entry; the state's
// 0.3 s decide when it is served.
void ReturnBounce::OnUpdate()
{
    if (OwnerTakesInput() && PlayerControls(mPlayer, Player()->mPlayerNumber).Triggered(Slot::BallReset, Slot::ControllerReset))
        Request("BallIdle");
    Request("BallIdle");
}

void BallDesintegrate::OnUpdate()
{
    if (OwnerTakesInput() && PlayerControls(mPlayer, Player()->mPlayerNumber).Triggered(Slot::BallReset, Slot::ControllerReset))
        Request("BallIdle");
    Engine::CollisionComp* body = PlayerFrame::BodyOf(GetOwner());
    if (!body)
        return;
    // Per update, whatever the frame time.
    glm::vec3& velocity = body->mVelocity.value;
    velocity -= velocity * kDisintegrateLoss;
    if (std::fabs(velocity.x) < kStoppedSpeed && std::fabs(velocity.y) < kStoppedSpeed &&
        std::fabs(velocity.z) < kStoppedSpeed)
        Request("BallIdle");
}

void NormalState::OnUpdate()
{
    if (TempBallComp* ball = Engine::LogicManager::GetCompPtr<TempBallComp>(GetOwner())) {
        ball->ReturnSpeed.value = ball->ReturnBase.value;
        ball->ShootSpeed.value = ball->ShootBase.value;
    }
}

void SlowState::OnUpdate()
{
    mElapsed += PlayerFrame::ScaledDt();
    if (TempBallComp* ball = Engine::LogicManager::GetCompPtr<TempBallComp>(GetOwner())) {
        ball->ReturnSpeed.value = ball->ReturnBase.value * mFactor;
        ball->ShootSpeed.value = ball->ShootBase.value * mFactor;
    }
    if (mElapsed >= mLength) {
        mElapsed = 0.0f;
        if (Engine::StateMachine* machine = GetStateMachine())
            machine->ChangeState("Normal");
    }
}
