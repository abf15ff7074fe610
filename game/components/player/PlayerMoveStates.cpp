// Walking and running.
#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionComp.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/render/Camera.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/MatchStats.h"
#include "game/components/player/PlayerBody.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"
#include "game/config/MovementSlots.h"

namespace {

using Slot = InputBindings::Slot;

// Acceleration per frame is the speed times this.
constexpr float kFrameStep = 0.016f;
constexpr float kRunFov = 1.25f;
constexpr float kFovEase = 0.5f;
constexpr float kRunVolume = 0.4f;

PlayerControls ControlsOf(const Player_LogicComp& player) { return {player.GetOwner(), player.mPlayerNumber}; }

// A rising tile right under the player.
bool StandsOnRisingTile(Engine::EntityHandle player)
{
    const Engine::RayHit hit = Engine::SpatialCollisionMgr::GetInstance().RayCast(
        Engine::Transform::GetWorldPosition(player), glm::vec3(0.0f, -1.0f, 0.0f));
    if (!hit.entity.IsValid())
        return false;
    const Engine::StateMachine* height = PlayerFrame::MachineAt(hit.entity, 0);
    const Engine::State* state = height ? height->GetCurrentState() : nullptr;
    return state && state->GetName() == "TileUp";
}

Engine::Emitter* SoundsOf(const Player_LogicComp& player)
{
    return Engine::LogicManager::GetCompPtr<Engine::Emitter>(player.GetOwner());
}

} // namespace

void PlayerMoveState::OnEnter()
{
    mStaticTaken = false;
    mStaticTimer = 0.0f;
}

void PlayerMoveState::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    jumpPressed = false;
    FollowStaticRequest(*player);
    if (!player->mRadialOpen) {
        const PlayerControls controls = ControlsOf(*player);
        // Entering a run costs nothing (the unit paid comes straight back)
        // but restarts the energy's pause.
        if (!player->mCharging && controls.Held(MovementSlots::kRunKey, MovementSlots::kRunButton) &&
            player->SpendEnergy(player->mRunCost)) {
            player->Energy.value += 1.0f;
            GetStateMachine()->ChangeState("Run");
        }
        Steer(*player, player->PlayerSpeed.value, player->MaxSpeed.value);
    }
    Jump(*player, player->JumpVel.value, player->RocketJumpVel.value);
    PlayerBody::Look(*player, PlayerBody::LookDelta(*player, ControlsOf(*player), sensitivity));
}

// An arena event's request sends the player to "Static"; should the switch
// not have happened within 3 s, it is asked for again.
void PlayerMoveState::FollowStaticRequest(Player_LogicComp& player)
{
    if (player.mStaticRequest) {
        GetStateMachine()->ChangeState("Static");
        mStaticTaken = true;
        player.mStaticRequest = false;
    }
    if (!mStaticTaken)
        return;
    mStaticTimer += PlayerFrame::ScaledDt();
    if (mStaticTimer > kStaticLimit) {
        GetStateMachine()->ChangeState("Static");
        mStaticTimer = 0.0f;
        mStaticTaken = false;
    }
}

void PlayerMoveState::Steer(Player_LogicComp& player, float speed, float maxSpeed)
{
    grounded = PlayerBody::Hover(player);
    acceleration = glm::vec3(0.0f);
    const PlayerControls controls = ControlsOf(player);
    if (const Engine::Camera* camera = PlayerFrame::CameraOf(player.mCamera)) {
        const glm::vec3 level(camera->forward.x, 0.0f, camera->forward.z);
        const float step = speed * kFrameStep;
        if (glm::dot(level, level) > 1e-12f && glm::dot(camera->right, camera->right) > 1e-12f)
            acceleration = PlayerBody::Acceleration(PlayerBody::MoveAxes(controls), glm::normalize(level),
                                                    glm::normalize(camera->right), step, kStickDeadZone);
    }
    jumpPressed = controls.Triggered(Slot::Jump, Slot::ControllerJump);
    if (Engine::CollisionComp* body = PlayerFrame::BodyOf(player.GetOwner()))
        PlayerBody::Accelerate(body->mVelocity.value, acceleration, maxSpeed);
}

// A jump while jumps are left since the last landing; with the rocket-jump
// perk, a rising tile underneath adds its push.
void PlayerMoveState::Jump(Player_LogicComp& player, float jumpSpeed, float rocketSpeed)
{
    if (!jumpPressed || player.mJumpsUsed >= player.mJumpCount)
        return;
    player.mJumpsUsed += 1;
    MatchStats::GetInstance().Jumps.value += 1;
    grounded = false;
    Engine::CollisionComp* body = PlayerFrame::BodyOf(player.GetOwner());
    if (!body)
        return;
    body->mVelocity.value.y += jumpSpeed;
    if (player.mPassiveKind == Player_LogicComp::kRocketJump && StandsOnRisingTile(player.GetOwner()))
        body->mVelocity.value.y += rocketSpeed;
}

void PlayerRunState::OnEnter()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    player->StartFovKick(kRunFov, kFovEase);
    player->mRunning = true;
    mPaymentTimer = 0.0f;
    if (Engine::Emitter* sounds = SoundsOf(*player)) {
        sounds->Play("Run", true, false);
        sounds->SetVolume("Run", kRunVolume);
    }
    MatchStats::GetInstance().TimesRunActivated.value += 1;
}

void PlayerRunState::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    MatchStats::GetInstance().TimeRunning.value += PlayerFrame::ScaledDt();
    jumpPressed = false;
    if (!player->mRadialOpen) {
        // Keeps the energy from recharging while running.
        player->SpendEnergy(0.0f);
        const PlayerControls controls = ControlsOf(*player);
        if (!controls.Held(MovementSlots::kRunKey, MovementSlots::kRunButton))
            GetStateMachine()->ChangeState("Move");
        Steer(*player, player->PlayerRunSpeed.value, player->MaxRunSpeed.value);
        if (player->Energy.value == 0.0f)
            GetStateMachine()->ChangeState("Move");
        Jump(*player, player->JumpRunVel.value, player->RocketJumpRunVel.value);
        if (acceleration != glm::vec3(0.0f)) {
            mPaymentTimer += PlayerFrame::Dt();
            if (mPaymentTimer >= kPaymentInterval) {
                if (!player->SpendEnergy(player->mRunCost))
                    GetStateMachine()->ChangeState("Move");
                mPaymentTimer = 0.0f;
            }
        }
        MatchRecorder::GetInstance().AddMomentPoints(player->mPlayerNumber, MatchRecorder::Running);
    }
    PlayerBody::Look(*player, PlayerBody::LookDelta(*player, ControlsOf(*player), sensitivity));
}

void PlayerRunState::OnExit()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    player->StartFovKick(1.0f, kFovEase);
    player->mRunning = false;
    if (Engine::Emitter* sounds = SoundsOf(*player))
        sounds->Pause("Run");
}
