#pragma once
#include "engine/platform/Clock.h"

#include <chrono>
#include <cstdint>

// Frames keep the test's clock, so their time steps are the test's; the
// link's time (resends, the time-out, a wait for the peer) runs on the real
// clock, so that a slow peer looks slow, not silent, and a wait that
// outlives its peer ends. The engine's clock while it lives.
class LinkOnRealTime : public Engine::Platform::IClock {
public:
    explicit LinkOnRealTime(Engine::Platform::IClock& frames) : mFrames(frames) { Engine::Platform::SetClock(this); }
    ~LinkOnRealTime() override { Engine::Platform::SetClock(&mFrames); }
    LinkOnRealTime(const LinkOnRealTime&) = delete;
    LinkOnRealTime& operator=(const LinkOnRealTime&) = delete;

    std::uint64_t Counter() override
    {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
    std::uint64_t Frequency() override { return 1000000000ull; }
    std::uint32_t Milliseconds() override { return mFrames.Milliseconds(); }

private:
    Engine::Platform::IClock& mFrames;
};
