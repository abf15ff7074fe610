#include "engine/core/Log.h"
#include "engine/core/Random.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

int gFeed = 0;
int Feed() { return gFeed; }

struct RandomSource : ::testing::Test {
    void TearDown() override { Engine::Random::SetSource(nullptr); }
};

TEST_F(RandomSource, RangeIntSplitsTheGeneratorRangeEvenly)
{
    Engine::Random::SetSource(&Feed);
    gFeed = 16383;
    EXPECT_EQ(Engine::Random::RangeInt(0, 1), 0);
    gFeed = 16384;
    EXPECT_EQ(Engine::Random::RangeInt(0, 1), 1);
    gFeed = 32767;
    EXPECT_EQ(Engine::Random::RangeInt(3, 3), 3);
    EXPECT_EQ(Engine::Random::RangeInt(-5, 5), 5);
    // The full int span must not overflow into a value outside the range.
    gFeed = 32767;
    EXPECT_EQ(Engine::Random::RangeInt(INT32_MIN, INT32_MAX), INT32_MAX - 131071); // the last of 32768 buckets
    gFeed = 0;
    EXPECT_EQ(Engine::Random::RangeInt(INT32_MIN, INT32_MAX), INT32_MIN);
}

TEST_F(RandomSource, Random01NeverReachesOne)
{
    Engine::Random::SetSource(&Feed);
    gFeed = 254; // the largest byte after % 255
    const float top = Engine::Random::Random01();
    EXPECT_LT(top, 1.0f);
    EXPECT_NEAR(top, 0.99608f, 1e-4f);
    gFeed = 255; // 255 % 255 == 0
    EXPECT_EQ(Engine::Random::Random01(), 0.0f);
    EXPECT_EQ(Engine::Random::RangeFloat(5.0f, 5.0f), 5.0f);
}

TEST_F(RandomSource, BuiltinGeneratorStaysInFifteenBitsAndCoversRanges)
{
    Engine::Random::SeedWith(1234);
    int seen[6] = {};
    for (int i = 0; i < 6000; ++i) {
        const int raw = Engine::Random::Next();
        ASSERT_GE(raw, 0);
        ASSERT_LE(raw, Engine::Random::kGeneratorMax);
        const int v = Engine::Random::RangeInt(1, 6);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 6);
        ++seen[v - 1];
        const float f = Engine::Random::RangeFloat(-1.0f, 1.0f);
        ASSERT_GE(f, -1.0f);
        ASSERT_LT(f, 1.0f);
    }
    for (int count : seen)
        EXPECT_GT(count, 800);
}

std::string ReadAll(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(Log, WarningsAppendLinesCutAt511Characters)
{
    ScopedTempDir dir;
    EXPECT_FALSE(Engine::LogWarning("first %d", 1));
    const std::string longText(600, 'x');
    EXPECT_FALSE(Engine::LogWarning("%s", longText.c_str()));
    const std::string expected = "[WARNING] \t\tfirst 1\n[WARNING] \t\t" + std::string(511, 'x') + "\n";
    EXPECT_EQ(ReadAll("log.txt"), expected);
}

} // namespace
