#pragma once
#include "engine/platform/Clock.h"

#include <cstdint>

// The engine's clock while it lives. Its millisecond count creeps one
// microsecond per reading, so the frame limiter's busy wait ends at once in
// real time, and Advance stands for frame work of whole milliseconds: the
// next reading is exactly that much later.
class CreepingClock : public Engine::Platform::IClock {
public:
    explicit CreepingClock(std::uint64_t startMilliseconds = 1000) : mMicroseconds(startMilliseconds * 1000)
    {
        Engine::Platform::SetClock(this);
    }
    ~CreepingClock() override { Engine::Platform::SetClock(nullptr); }
    CreepingClock(const CreepingClock&) = delete;
    CreepingClock& operator=(const CreepingClock&) = delete;

    std::uint64_t Counter() override { return mMicroseconds; }
    std::uint64_t Frequency() override { return 1000000; }
    std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(mMicroseconds++ / 1000); }
    void Advance(std::uint64_t milliseconds) { mMicroseconds = (mMicroseconds / 1000 + milliseconds) * 1000; }

private:
    std::uint64_t mMicroseconds;
};
