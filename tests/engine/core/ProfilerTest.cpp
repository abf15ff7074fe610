#include "engine/core/Profiler.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using Engine::Profiler;

TEST(Profiler, EndOfANameNeverBegunThrowsTheMapKeyText)
{
    try {
        Profiler::End("LogicUpdate");
        FAIL() << "End of an unknown name must throw";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid map<K, T> key");
    }
    EXPECT_TRUE(Profiler::GetRecords().empty());
}

TEST(Profiler, SampleTurnsATimerIntoASample)
{
    Profiler::Begin("EntityCount", "frame");
    Profiler::Sample("EntityCount", 12.0f);
    const Profiler::Record& record = Profiler::GetRecords().at("EntityCount");
    EXPECT_FALSE(record.isTimer);
    EXPECT_TRUE(record.category.empty());
    EXPECT_FLOAT_EQ(record.sample, 12.0f);
}

} // namespace
