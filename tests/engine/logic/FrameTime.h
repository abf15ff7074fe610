#pragma once
#include "engine/core/FrameRateController.h"
#include "engine/platform/Clock.h"

#include <cstdint>

// Drives the frame time from a test clock: Frame(125) makes the next
// FrameRateController::GetDt() exactly 0.125 s.
class InjectedFrameTime {
public:
    InjectedFrameTime()
    {
        Engine::Platform::SetClock(&mClock);
        Engine::FrameRateController::SetMaxDt(0.0);
        Engine::FrameRateController::SetTimeScale(1.0);
        mClock.Advance(1000);
        Engine::FrameRateController::EndFrame();
    }
    ~InjectedFrameTime()
    {
        Engine::FrameRateController::SetTimeScale(1.0);
        Engine::Platform::SetClock(nullptr);
    }
    InjectedFrameTime(const InjectedFrameTime&) = delete;
    InjectedFrameTime& operator=(const InjectedFrameTime&) = delete;

    void Frame(std::uint64_t milliseconds)
    {
        mClock.Advance(milliseconds);
        Engine::FrameRateController::EndFrame();
    }

private:
    // Creeps one microsecond per read so the limiter's wait ends; a frame
    // of whole milliseconds still reads as exactly that many.
    class Clock : public Engine::Platform::IClock {
    public:
        std::uint64_t Counter() override { return mMicroseconds; }
        std::uint64_t Frequency() override { return 1000000; }
        std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(mMicroseconds++ / 1000); }
        void Advance(std::uint64_t milliseconds) { mMicroseconds = (mMicroseconds / 1000 + milliseconds) * 1000; }

    private:
        std::uint64_t mMicroseconds = 0;
    };

    Clock mClock;
};
