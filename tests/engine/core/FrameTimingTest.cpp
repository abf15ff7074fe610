#include "engine/core/FrameRateController.h"
#include "engine/core/Profiler.h"
#include "support/CreepingClock.h"
#include "support/ThrownText.h"

#include <gtest/gtest.h>
#include <stdexcept>

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

TEST_F(FrameLimiter, ShortFramesWaitForTheirSevenMillisecondsAndLongOnesMeetTheCap)
{
    EXPECT_DOUBLE_EQ(FrameOf(2), 0.007);
    EXPECT_DOUBLE_EQ(FrameOf(6), 0.007); // counted from the previous end
    FrameRateController::SetTimeScale(0.25);
    EXPECT_DOUBLE_EQ(FrameRateController::GetScaledDt(), 0.00175);
    FrameRateController::SetMaxDt(0.032);
    EXPECT_DOUBLE_EQ(FrameOf(50), 0.032);
    EXPECT_DOUBLE_EQ(FrameRateController::GetUncappedDt(), 0.05) << "as the clock measured it";
    FrameRateController::SetMaxDt(0.0);
    EXPECT_DOUBLE_EQ(FrameOf(50), 0.05);
}

// Tests of one process start from it: the slow motion a match left, or its
// last frame's time, would change the next test's first frames.
TEST_F(FrameLimiter, ResetIsTheStartUpsStateWithTheCapKept)
{
    FrameRateController::SetMaxDt(0.032);
    FrameOf(20);
    FrameRateController::SetTimeScale(0.25);
    FrameRateController::Reset();
    EXPECT_EQ(FrameRateController::GetDt(), 0.0) << "no frame measured yet";
    EXPECT_EQ(FrameRateController::GetTimeScale(), 1.0);
    EXPECT_DOUBLE_EQ(FrameOf(0), 0.032) << "the first frame counts from tick 0, up to the cap";
    FrameRateController::SetMaxDt(0.0);
}

TEST_F(FrameLimiter, TickCounterWrapGivesTheTrueFrameTime)
{
    FrameOf(0xFFFFFFFFull - 100 - 3); // the frame ends four ticks before the wrap
    EXPECT_DOUBLE_EQ(FrameOf(10), 0.010);
}

TEST(Profiler, EndOfANameNeverBegunThrowsTheMapKeyText)
{
    EXPECT_EQ(ThrownText<std::out_of_range>([] { Engine::Profiler::End("LogicUpdate"); }), "invalid map<K, T> key");
    EXPECT_TRUE(Engine::Profiler::GetRecords().empty());
}

} // namespace
