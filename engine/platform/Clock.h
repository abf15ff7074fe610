#pragma once
#include <cstdint>

namespace Engine::Platform {

// The time sources the engine reads. The system one is the monotonic clock;
// tests install their own to drive the frame limiter and the profiler.
class IClock {
public:
    virtual ~IClock() = default;
    // A monotonically rising counter and its ticks per second.
    virtual std::uint64_t Counter() = 0;
    virtual std::uint64_t Frequency() = 0;
    // Milliseconds since start-up, wrapping at 2^32 like SDL's tick count.
    virtual std::uint32_t Milliseconds() = 0;
};

// The clock in use: the system clock unless a test installed another.
IClock& GetClock();
// Installs a clock; nullptr puts the system clock back. The caller keeps
// ownership and must outlive its use.
void SetClock(IClock* clock);

// Nanoseconds of the current clock, split so that large counters never
// overflow: (c / f) * 1e9 + ((c % f) * 1e9) / f.
std::uint64_t NowNanoseconds();
std::uint64_t CounterToNanoseconds(std::uint64_t counter, std::uint64_t frequency);

} // namespace Engine::Platform
