#include "game/components/BallSlowdown.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NamedEntities.h"

namespace BallSlowdown {

void Slow(Engine::EntityHandle ball)
{
    if (!ball.IsValid())
        return;
    const Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(ball);
    if (machines && !machines->GetStateMachines().empty())
        machines->GetStateMachines().back()->ChangeState("Slow");
}

void SlowGoalBalls()
{
    for (Engine::EntityHandle goal :
         Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(Net::Names::kGoalBall))
        Slow(goal);
}

} // namespace BallSlowdown
