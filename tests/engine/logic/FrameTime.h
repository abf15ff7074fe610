#pragma once
#include "engine/core/FrameRateController.h"
#include "support/CreepingClock.h"

#include <cstdint>

// Drives the frame time from a test clock: Frame(125) makes the next
// FrameRateController::GetDt() exactly 0.125 s.
class InjectedFrameTime {
public:
    InjectedFrameTime()
    {
        Engine::FrameRateController::SetMaxDt(0.0);
        Engine::FrameRateController::SetTimeScale(1.0);
        Engine::FrameRateController::EndFrame();
    }
    ~InjectedFrameTime() { Engine::FrameRateController::SetTimeScale(1.0); }
    InjectedFrameTime(const InjectedFrameTime&) = delete;
    InjectedFrameTime& operator=(const InjectedFrameTime&) = delete;

    void Frame(std::uint64_t milliseconds)
    {
        mClock.Advance(milliseconds);
        Engine::FrameRateController::EndFrame();
    }

private:
    CreepingClock mClock;
};
