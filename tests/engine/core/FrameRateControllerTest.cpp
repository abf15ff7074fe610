#include "engine/core/FrameRateController.h"
#include "support/CreepingClock.h"

#include <gtest/gtest.h>

namespace {

using Engine::FrameRateController;

struct FrameLimiter : ::testing::Test {
    void SetUp() override { FrameRateController::EndFrame(); } // the next frame starts clean
    double FrameOf(std::uint64_t workMs)
    {
        clock.Advance(workMs);
        FrameRateController::EndFrame();
        return FrameRateController::GetDt();
    }
    CreepingClock clock{100};
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
