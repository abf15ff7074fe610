#include "engine/platform/Clock.h"

#include <gtest/gtest.h>

namespace {

using Engine::Platform::CounterToNanoseconds;

TEST(Clock, CounterConversionDoesNotOverflowForLargeCounters)
{
    // A 10 MHz counter after ~58 years of uptime: a naive c * 1e9 would wrap.
    const std::uint64_t frequency = 10000000ull;
    const std::uint64_t counter = 18446744073709ull; // ~1.8e13 ticks
    EXPECT_EQ(CounterToNanoseconds(counter, frequency), counter * 100ull);
    EXPECT_EQ(CounterToNanoseconds(1, 3), 333333333ull);
    EXPECT_EQ(CounterToNanoseconds(5, 0), 0ull);
}

TEST(Clock, SystemClockIsMonotonicAndReplaceable)
{
    const auto a = Engine::Platform::NowNanoseconds();
    const auto b = Engine::Platform::NowNanoseconds();
    EXPECT_LE(a, b);

    struct Fixed : Engine::Platform::IClock {
        std::uint64_t Counter() override { return 2500; }
        std::uint64_t Frequency() override { return 1000; }
        std::uint32_t Milliseconds() override { return 42; }
    } fixed;
    Engine::Platform::SetClock(&fixed);
    EXPECT_EQ(Engine::Platform::NowNanoseconds(), 2500000000ull);
    EXPECT_EQ(Engine::Platform::GetClock().Milliseconds(), 42u);
    Engine::Platform::SetClock(nullptr);
    EXPECT_GE(Engine::Platform::NowNanoseconds(), b);
}

} // namespace
