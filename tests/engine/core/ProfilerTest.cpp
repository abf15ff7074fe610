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

} // namespace
