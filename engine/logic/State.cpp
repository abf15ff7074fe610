#include "engine/logic/State.h"

#include "engine/core/FrameRateController.h"

namespace Engine {

State::State(const char* name, float seconds) : mTimer(seconds), mDuration(seconds), mName(name ? name : "") {}

void State::Enter()
{
    mTimer = mDuration;
    OnEnter();
}

void State::Update()
{
    // Real time: the end-of-match slow motion must not stretch state timers.
    mTimer -= static_cast<float>(FrameRateController::GetDt());
    OnUpdate();
}

void State::Exit()
{
    mTimer = mDuration;
    OnExit();
}

} // namespace Engine
