#include "engine/render/HexagonMesh.h"

#include <gtest/gtest.h>

namespace {

constexpr float kTol = 1e-5f;

void ExpectVec(const glm::vec3& v, float x, float y, float z)
{
    EXPECT_NEAR(v.x, x, kTol);
    EXPECT_NEAR(v.y, y, kTol);
    EXPECT_NEAR(v.z, z, kTol);
}

TEST(HexagonMesh, SixSidesGiveTheFloorTilePrism)
{
    std::vector<Engine::Vertex> vertices(3);
    std::vector<std::uint32_t> indices(5, 9);
    Engine::HexagonMesh().Generate(vertices, 6, indices);
    ASSERT_EQ(vertices.size(), 72u);
    ASSERT_EQ(indices.size(), 72u);
    for (std::uint32_t i = 0; i < indices.size(); ++i)
        EXPECT_EQ(indices[i], i);

    const Engine::Vertex& first = vertices[0];
    ExpectVec(first.position, 1.0f, -1.0f, 0.0f);
    EXPECT_NEAR(first.uv.x, 0.5f, kTol);
    EXPECT_NEAR(first.uv.y, 0.0f, kTol);
    // Outward at 30 degrees and deliberately of length 2.
    ExpectVec(first.normal, 1.7320508f, 0.0f, -1.0f);
    ExpectVec(first.tangent, 0.0f, 0.0f, -1.0f);
    ExpectVec(first.bitangent, 0.0f, 1.0f, 0.0f);
}

TEST(HexagonMesh, CapsUseTheLeftHalfAndTheBottomRimSwapsCoordinates)
{
    std::vector<Engine::Vertex> v;
    std::vector<std::uint32_t> i;
    Engine::HexagonMesh().Generate(v, 6, i);
    const float step = 6.28318530718f / 6.0f;
    glm::vec2 capA1{(1.0f + 1.0f) * 0.25f, 0.5f};
    glm::vec2 capA2{(std::cos(step) + 1.0f) * 0.25f, (std::sin(step) + 1.0f) * 0.5f};

    ExpectVec(v[6].position, 0, -1, 0);
    ExpectVec(v[6].normal, 0, -1, 0);
    EXPECT_EQ(v[6].uv, glm::vec2(0.25f, 0.5f));
    ExpectVec(v[6].bitangent, 0, 0, -1);
    // Vertex 8 sits at a2 but carries a1's coordinates, vertex 9 the reverse.
    ExpectVec(v[7].position, std::cos(step), -1, -std::sin(step));
    EXPECT_NEAR(v[7].uv.x, capA1.x, kTol);
    EXPECT_NEAR(v[8].uv.x, capA2.x, kTol);
    EXPECT_NEAR(v[8].uv.y, capA2.y, kTol);
    // The top rim carries its own.
    EXPECT_NEAR(v[10].uv.x, capA1.x, kTol);
    EXPECT_NEAR(v[11].uv.y, capA2.y, kTol);
    ExpectVec(v[11].normal, 0, 1, 0);
    ExpectVec(v[10].tangent, 1, 0, 0);
    ExpectVec(v[10].bitangent, -1, 0, 0);
}

TEST(HexagonMesh, TooFewSidesFallBackToEight)
{
    std::vector<Engine::Vertex> v;
    std::vector<std::uint32_t> i;
    Engine::HexagonMesh().Generate(v, 3, i);
    EXPECT_EQ(v.size(), 96u);
    // The last side closes at exactly 2 pi.
    ExpectVec(v[95].position, 1.0f, 1.0f, 0.0f);
    Engine::HexagonMesh().Generate(v, 4, i);
    EXPECT_EQ(v.size(), 48u);
}

} // namespace
