#include "engine/render/BlurKernel.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

float TotalWeight(const Engine::BlurKernel& kernel)
{
    float total = 0.0f;
    for (const glm::vec3& tap : kernel.taps)
        total += tap.z;
    return total;
}

// A square's taps sit on the centres of the texels one smaller pixel
// covers: a 4 x 4 mean reads offsets -1.5 to 1.5, a 3 x 3 one -1 to 1.
TEST(BlurKernel, SquaresCoverTheirTexelsEvenlyAndStayWithinTheTaps)
{
    struct Case {
        int asked;
        int side;
    };
    for (const Case c : {Case{4, 4}, Case{3, 3}, Case{1, 1}, Case{9, 4}, Case{0, 1}}) {
        SCOPED_TRACE(c.asked);
        const Engine::BlurKernel kernel = Engine::BoxKernel(c.asked);
        ASSERT_EQ(kernel.count, c.side * c.side);
        const float reach = static_cast<float>(c.side - 1) * 0.5f;
        for (int i = 0; i < kernel.count; ++i) {
            const glm::vec3& tap = kernel.taps[static_cast<std::size_t>(i)];
            EXPECT_FLOAT_EQ(tap.z, 1.0f / static_cast<float>(c.side * c.side));
            EXPECT_LE(std::abs(tap.x), reach);
            EXPECT_LE(std::abs(tap.y), reach);
            // Whole texels from the first corner.
            EXPECT_FLOAT_EQ(tap.x + reach, std::round(tap.x + reach));
        }
        EXPECT_NEAR(TotalWeight(kernel), 1.0f, 1e-5f);
    }
}

TEST(BlurKernel, ALineRunsAcrossOrDownWithItsWeightsScaledToOne)
{
    const Engine::BlurKernel across = Engine::LineKernel({1.0f, 2.0f, 1.0f}, -1, false);
    ASSERT_EQ(across.count, 3);
    EXPECT_EQ(across.taps[0], glm::vec3(-1.0f, 0.0f, 0.25f));
    EXPECT_EQ(across.taps[1], glm::vec3(0.0f, 0.0f, 0.5f));
    EXPECT_EQ(across.taps[2], glm::vec3(1.0f, 0.0f, 0.25f));
    const Engine::BlurKernel down = Engine::LineKernel({1.0f, 3.0f}, 2, true);
    EXPECT_EQ(down.taps[0], glm::vec3(0.0f, 2.0f, 0.25f));
    EXPECT_EQ(down.taps[1], glm::vec3(0.0f, 3.0f, 0.75f));
    EXPECT_EQ(down.taps[2].z, 0.0f) << "unused taps weigh nothing";

    // Past the program's taps the rest is left out; no weight at all reads
    // the pixel itself.
    const Engine::BlurKernel longest = Engine::LineKernel(std::vector<float>(30, 1.0f), -15, false);
    EXPECT_EQ(longest.count, Engine::BlurKernel::kMaxTaps);
    EXPECT_NEAR(TotalWeight(longest), 1.0f, 1e-5f);
    for (const std::vector<float>& nothing : {std::vector<float>{}, std::vector<float>{0.0f, 0.0f}}) {
        const Engine::BlurKernel copy = Engine::LineKernel(nothing, -1, false);
        EXPECT_EQ(copy.count, 1);
        EXPECT_EQ(copy.taps[0], glm::vec3(0.0f, 0.0f, 1.0f));
    }
}

TEST(BlurKernel, GaussianWeightsAreSymmetricAndSpreadAsTheirDeviation)
{
    const std::vector<float> weights = Engine::GaussianWeights(2.0f, 8);
    ASSERT_EQ(weights.size(), 17u);
    EXPECT_FLOAT_EQ(weights[8], 1.0f);
    float total = 0.0f;
    float spread = 0.0f;
    for (int k = -8; k <= 8; ++k) {
        const float w = weights[static_cast<std::size_t>(k + 8)];
        EXPECT_FLOAT_EQ(w, weights[static_cast<std::size_t>(8 - k)]);
        total += w;
        spread += w * static_cast<float>(k * k);
    }
    EXPECT_NEAR(spread / total, 4.0f, 0.01f) << "the variance is sigma squared";

    // No deviation: the centre alone, whatever the reach.
    EXPECT_EQ(Engine::GaussianWeights(0.0f, 2), (std::vector<float>{0.0f, 0.0f, 1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(Engine::GaussianWeights(-1.0f, 0), std::vector<float>{1.0f});
    EXPECT_EQ(Engine::GaussianWeights(1.0f, -3), std::vector<float>{1.0f});
}

} // namespace
