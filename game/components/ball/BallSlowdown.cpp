#include "game/components/ball/BallSlowdown.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NamedEntities.h"
#include "game/components/shared/PlayerFrame.h"

namespace BallSlowdown {

void Slow(Engine::EntityHandle ball)
{
    if (!ball.IsValid())
        return;
    if (Engine::StateMachine* speed = PlayerFrame::LastMachine(ball))
        speed->ChangeState("Slow");
}

void SlowGoalBalls()
{
    for (Engine::EntityHandle goal :
         Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(Net::Names::kGoalBall))
        Slow(goal);
}

} // namespace BallSlowdown
