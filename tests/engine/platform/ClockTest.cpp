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

} // namespace
