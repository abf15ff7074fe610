#include "engine/core/FrameRateController.h"
#include "engine/platform/Clock.h"

#include <gtest/gtest.h>

namespace {

using Engine::FrameRateController;

// Moves on by one microsecond per read, so the busy wait ends; Work() stands
// for the frame's own work.
class SteppingClock : public Engine::Platform::IClock {
public:
    std::uint64_t Counter() override { return mMicroseconds; }
    std::uint64_t Frequency() override { return 1000000; }
    std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(mMicroseconds++ / 1000); }
    void Work(std::uint64_t milliseconds) { mMicroseconds += milliseconds * 1000; }

private:
    std::uint64_t mMicroseconds = 0;
};

struct FrameLimiter : ::testing::Test {
    void SetUp() override
    {
        Engine::Platform::SetClock(&clock);
        clock.Work(100);
        FrameRateController::EndFrame(); // the next frame starts clean
    }
    void TearDown() override { Engine::Platform::SetClock(nullptr); }
    double FrameOf(std::uint64_t workMs)
    {
        clock.Work(workMs);
        FrameRateController::EndFrame();
        return FrameRateController::GetDt();
    }
    SteppingClock clock;
};

TEST_F(FrameLimiter, ShortFramesWaitForSevenMillisecondsSinceThePreviousEnd)
{
    EXPECT_DOUBLE_EQ(FrameOf(2), 0.007);
    EXPECT_DOUBLE_EQ(FrameOf(6), 0.007);
    FrameRateController::SetTimeScale(0.25);
    EXPECT_DOUBLE_EQ(FrameRateController::GetScaledDt(), 0.00175);
}

TEST_F(FrameLimiter, LongFrameIsClampedOnlyWhenACapIsSet)
{
    FrameRateController::SetMaxDt(0.032);
    EXPECT_DOUBLE_EQ(FrameOf(50), 0.032);
    FrameRateController::SetMaxDt(0.0);
    EXPECT_DOUBLE_EQ(FrameOf(50), 0.05);
}

TEST_F(FrameLimiter, TickCounterWrapGivesTheTrueFrameTime)
{
    FrameOf(0xFFFFFFFFull - 100 - 3); // the frame ends four ticks before the wrap
    EXPECT_DOUBLE_EQ(FrameOf(10), 0.010);
}

} // namespace
