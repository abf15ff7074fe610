#include "engine/core/Log.h"
#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

namespace Random = Engine::Random;

int gFeed = 0;
int Feed() { return gFeed; }

struct RandomSource : ::testing::Test {
    void TearDown() override { Random::SetSource(nullptr); }
};

TEST_F(RandomSource, DrawsLandInEvenBucketsAndNeverReachTheTop)
{
    Random::SetSource(&Feed);
    const struct {
        int feed, low, high, expected;
    } cases[] = {
        {16383, 0, 1, 0},
        {16384, 0, 1, 1},
        {32767, 3, 3, 3},
        {32767, -5, 5, 5},
        // The full int span must not overflow into a value outside the range.
        {32767, INT32_MIN, INT32_MAX, INT32_MAX - 131071}, // the last of 32768 buckets
        {0, INT32_MIN, INT32_MAX, INT32_MIN},
    };
    for (const auto& c : cases) {
        gFeed = c.feed;
        EXPECT_EQ(Random::RangeInt(c.low, c.high), c.expected) << c.feed << " in " << c.low << ".." << c.high;
    }
    gFeed = 254; // the largest byte after % 255
    EXPECT_NEAR(Random::Random01(), 0.99608f, 1e-4f);
    gFeed = 255;
    EXPECT_EQ(Random::Random01(), 0.0f);
}

TEST_F(RandomSource, BuiltinGeneratorStaysInFifteenBitsAndCoversRanges)
{
    Random::SeedWith(1234);
    int seen[6] = {};
    for (int i = 0; i < 6000; ++i) {
        ASSERT_LE(static_cast<unsigned>(Random::Next()), static_cast<unsigned>(Random::kGeneratorMax));
        const int v = Random::RangeInt(1, 6);
        ASSERT_TRUE(v >= 1 && v <= 6) << v;
        ++seen[v - 1];
        const float f = Random::RangeFloat(-1.0f, 1.0f);
        ASSERT_TRUE(f >= -1.0f && f < 1.0f) << f;
    }
    for (int count : seen)
        EXPECT_GT(count, 800);
}

TEST(MathHelpers, EaseOutRisesFastAndLerpExtrapolates)
{
    using namespace Engine::Math;
    EXPECT_EQ(EaseOutQuad(0.0f), 0.0f);
    EXPECT_EQ(EaseOutQuad(0.5f), 0.75f);
    EXPECT_EQ(EaseOutQuad(1.0f), 1.0f);
    EXPECT_EQ(Lerp(0.0f, 2.0f, 1.5f), 3.0f);
    EXPECT_EQ(Lerp(4.0f, 2.0f, 0.25f), 3.5f);
    EXPECT_EQ(Lerp(glm::vec3(0, 2, -4), glm::vec3(2, 2, 4), 0.25f), glm::vec3(0.5f, 2, -2));
    EXPECT_EQ(Lerp(glm::vec4(1, 0, 0, 0), glm::vec4(0, 1, 0, 2), -1.0f), glm::vec4(2, -1, 0, -2));
}

TEST(Log, WarningsAppendLinesCutAt511Characters)
{
    ScopedTempDir dir;
    EXPECT_FALSE(Engine::LogWarning("first %d", 1));
    EXPECT_FALSE(Engine::LogWarning("%s", std::string(600, 'x').c_str()));
    EXPECT_EQ(ReadFileText("log.txt"), "[WARNING] \t\tfirst 1\n[WARNING] \t\t" + std::string(511, 'x') + "\n");
}

} // namespace
