#include "engine/render/HexagonMesh.h"

#include <glm/gtc/epsilon.hpp>
#include <gtest/gtest.h>

namespace {

template <class Vec>
bool Near(const Vec& actual, const Vec& expected)
{
    return glm::all(glm::epsilonEqual(actual, expected, 1e-5f));
}

TEST(HexagonMesh, SixSidesGiveTheFloorTilePrism)
{
    std::vector<Engine::Vertex> v(3);
    std::vector<std::uint32_t> indices(5, 9);
    Engine::HexagonMesh().Generate(v, 6, indices);
    ASSERT_EQ(v.size(), 72u);
    ASSERT_EQ(indices.size(), 72u);
    for (std::uint32_t i = 0; i < indices.size(); ++i)
        EXPECT_EQ(indices[i], i);

    EXPECT_TRUE(Near(v[0].position, {1.0f, -1.0f, 0.0f}));
    EXPECT_TRUE(Near(v[0].uv, {0.5f, 0.0f}));
    // Outward at 30 degrees and deliberately of length 2.
    EXPECT_TRUE(Near(v[0].normal, {1.7320508f, 0.0f, -1.0f}));
    EXPECT_TRUE(Near(v[0].tangent, {0.0f, 0.0f, -1.0f}));
    EXPECT_TRUE(Near(v[0].bitangent, {0.0f, 1.0f, 0.0f}));

    // The caps use the left half of the texture; on the bottom rim vertex 8
    // sits at a2 but carries a1's coordinates, vertex 9 the reverse.
    const float step = 6.28318530718f / 6.0f;
    const glm::vec2 capA1{0.5f, 0.5f};
    const glm::vec2 capA2{(std::cos(step) + 1.0f) * 0.25f, (std::sin(step) + 1.0f) * 0.5f};
    EXPECT_TRUE(Near(v[6].position, {0, -1, 0}));
    EXPECT_TRUE(Near(v[6].normal, {0, -1, 0}));
    EXPECT_TRUE(Near(v[6].uv, {0.25f, 0.5f}));
    EXPECT_TRUE(Near(v[6].bitangent, {0, 0, -1}));
    EXPECT_TRUE(Near(v[7].position, {std::cos(step), -1, -std::sin(step)}));
    EXPECT_NEAR(v[7].uv.x, capA1.x, 1e-5f);
    EXPECT_TRUE(Near(v[8].uv, capA2));
    // The top is cut round its centre: the floor's minified texture picks
    // other texels where its triangles run otherwise (a fan from a corner
    // shifted the outlines of distant tiles).
    EXPECT_TRUE(Near(v[9].position, {0, 1, 0}));
    // The top rim carries its own.
    EXPECT_NEAR(v[10].uv.x, capA1.x, 1e-5f);
    EXPECT_NEAR(v[11].uv.y, capA2.y, 1e-5f);
    EXPECT_TRUE(Near(v[11].normal, {0, 1, 0}));
    EXPECT_TRUE(Near(v[10].tangent, {1, 0, 0}));
    EXPECT_TRUE(Near(v[10].bitangent, {-1, 0, 0}));
}

TEST(HexagonMesh, TooFewSidesFallBackToEight)
{
    std::vector<Engine::Vertex> v;
    std::vector<std::uint32_t> i;
    Engine::HexagonMesh().Generate(v, 3, i);
    EXPECT_EQ(v.size(), 96u);
    // The last side closes at exactly 2 pi.
    EXPECT_TRUE(Near(v[95].position, {1.0f, 1.0f, 0.0f}));
    Engine::HexagonMesh().Generate(v, 4, i);
    EXPECT_EQ(v.size(), 48u);
}

} // namespace
