#include "game/components/player/PlayerMovement.h"

#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "game/components/player/PlayerLogicComp.h"

Engine::TypeNode* Player_Movement::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<Player_Movement, Engine::LogicComp>();
}

void Player_Movement::Initialize()
{
    Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(owner);
    if (!machines || !machines->GetStateMachines().empty())
        return;
    Engine::StateMachine* movement = machines->AddStateMachine();
    movement->AddState(new PlayerMoveState(owner));
    movement->AddState(new PlayerRunState(owner));
    movement->AddState(new PlayerMatchStart(owner));
    movement->AddState(new PlayerStatic);
    movement->AddState(new PlayerStunned);
    movement->SetInitialState("Start");
}

Player_LogicComp* PlayerState::Player() const
{
    const Engine::EntityHandle player = mPlayer.IsNull() ? GetOwner() : mPlayer;
    return Engine::LogicManager::GetCompPtr<Player_LogicComp>(player);
}
