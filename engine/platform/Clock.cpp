#include "engine/platform/Clock.h"

#include <time.h>

namespace Engine::Platform {
namespace {

std::uint64_t MonotonicNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(ts.tv_nsec);
}

class SystemClock final : public IClock {
public:
    SystemClock() : mStart(MonotonicNanoseconds()) {}
    std::uint64_t Counter() override { return MonotonicNanoseconds(); }
    std::uint64_t Frequency() override { return 1000000000ull; }
    std::uint32_t Milliseconds() override
    {
        return static_cast<std::uint32_t>((MonotonicNanoseconds() - mStart) / 1000000ull);
    }

private:
    std::uint64_t mStart;
};

SystemClock& TheSystemClock()
{
    static SystemClock clock;
    return clock;
}

// Built before main so that the millisecond count starts with the process.
IClock* gClock = &TheSystemClock();

} // namespace

IClock& GetClock() { return *gClock; }

void SetClock(IClock* clock) { gClock = clock ? clock : &TheSystemClock(); }

std::uint64_t CounterToNanoseconds(std::uint64_t counter, std::uint64_t frequency)
{
    if (frequency == 0)
        return 0;
    return (counter / frequency) * 1000000000ull + ((counter % frequency) * 1000000000ull) / frequency;
}

std::uint64_t NowNanoseconds()
{
    IClock& clock = GetClock();
    return CounterToNanoseconds(clock.Counter(), clock.Frequency());
}

} // namespace Engine::Platform
