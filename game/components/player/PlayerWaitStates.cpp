// The movement states in which the player waits, steering nothing, until
// its time is up and "Move" comes back: the opening descent ("Start"), the
// arena event's hold ("Static") and the stun ("Stunned"). The steered ones
// ("Move", "Run") are in PlayerMoveStates.cpp, the hold out of the floor's
// columns in PlayerHold.cpp.
#include "engine/collision/CollisionComp.h"
#include "engine/core/Transform.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/Camera.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/player/PlayerBody.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"

namespace {

// The opening descent falls at a tenth of the player's gravity.
constexpr float kDescentGravity = 0.1f;

void Freeze(Engine::EntityHandle player)
{
    if (Engine::CollisionComp* body = PlayerFrame::BodyOf(player)) {
        body->mVelocity.value = glm::vec3(0.0f);
        body->mGravity.value = glm::vec3(0.0f);
    }
}

// The host's player, or player 1 on one machine, holds the +x side.
float SideOf(const Player_LogicComp& player)
{
    const NetworkMgr& network = NetworkMgr::GetInstance();
    const bool first = network.connected ? network.server != 0 : player.mPlayerNumber == 1;
    return first ? PlayerStatic::kSideX : -PlayerStatic::kSideX;
}

} // namespace

void PlayerMatchStart::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    mTimer += PlayerFrame::ScaledDt();
    if (Engine::CollisionComp* body = PlayerFrame::BodyOf(player->GetOwner())) {
        if (PlayerBody::GroundDistance(*player) > player->LevitScale.value) {
            body->mGravity.value = player->mSavedGravity * kDescentGravity;
        } else {
            body->mGravity.value = glm::vec3(0.0f);
            body->mVelocity.value.y = 0.0f;
        }
    }
    if (Engine::Camera* camera = PlayerFrame::CameraOf(player->mCamera)) {
        camera->SetPosition(Engine::Transform::GetWorldPosition(player->GetOwner()));
        player->mViewOffset = glm::vec3(0.0f);
        // The arena's centre at eye height.
        if (!MatchRecorder::GetInstance().IsReplaying())
            camera->SetTarget(glm::vec3(0.0f, camera->mPos.value.y, 0.0f));
    }
    if (mTimer >= kDuration)
        GetStateMachine()->ChangeState("Move");
}

// From now on "Move" may be asked for while it runs, which restarts it.
void PlayerMatchStart::OnExit()
{
    if (Player_LogicComp* player = Player())
        player->mCanAct = true;
    GetStateMachine()->selfTransition = true;
}

void PlayerStatic::OnEnter()
{
    mTimer = 0.0f;
    if (Player_LogicComp* player = Player())
        player->mCanAct = false;
}

void PlayerStatic::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    mTimer += PlayerFrame::ScaledDt();
    if (!player->mRemote)
        Engine::Transform::PositionRef(player->GetOwner()) = glm::vec3(SideOf(*player), 0.0f, 0.0f);
    Freeze(player->GetOwner());
    if (mTimer >= kDuration)
        GetStateMachine()->ChangeState("Move");
    const PlayerControls controls(player->GetOwner(), player->mPlayerNumber);
    PlayerBody::Look(*player, PlayerBody::LookDelta(*player, controls, 1.0f));
}

void PlayerStatic::OnExit()
{
    if (Player_LogicComp* player = Player())
        player->mCanAct = true;
}

void PlayerStunned::OnUpdate()
{
    mTimer += PlayerFrame::ScaledDt();
    if (Player_LogicComp* player = Player())
        Freeze(player->GetOwner());
    if (mTimer >= kDuration)
        GetStateMachine()->ChangeState("Move");
}
