#pragma once
#include "engine/core/EntityHandle.h"

// The slow-ball perk's work, here and for the peer's perk: a ball's speed
// machine (the last machine of its SMComponent) goes to "Slow" for a while.
namespace BallSlowdown {

// Nothing for an entity without machines.
void Slow(Engine::EntityHandle ball);
// Every goal ball ("GoalBall").
void SlowGoalBalls();

} // namespace BallSlowdown
