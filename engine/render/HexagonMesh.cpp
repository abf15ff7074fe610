#include "engine/render/HexagonMesh.h"

#include <algorithm>
#include <cmath>

namespace Engine {

namespace {

constexpr float kTwoPi = 6.28318530718f;

glm::vec3 Corner(float angle, float y)
{
    return {std::cos(angle), y, -std::sin(angle)};
}

glm::vec2 CapUv(float angle)
{
    return {(std::cos(angle) + 1.0f) * 0.25f, (std::sin(angle) + 1.0f) * 0.5f};
}

void AppendSide(std::vector<Vertex>& out, float a1, float a2)
{
    float dx = std::cos(a2) - std::cos(a1);
    float dz = -std::sin(a2) + std::sin(a1);
    // Cross product of the bottom edge and the 2-high vertical edge: outward,
    // deliberately not normalised (length twice the edge).
    glm::vec3 sideNormal{-2.0f * dz, 0.0f, 2.0f * dx};
    glm::vec3 sideTangent{std::sin(a1), 0.0f, -std::cos(a1)};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    glm::vec3 down{0.0f, -1.0f, 0.0f};
    glm::vec3 capTangent{1.0f, 0.0f, 0.0f};
    glm::vec3 centreBitangent{0.0f, 0.0f, -1.0f};
    glm::vec3 rimBitangent{-std::cos(a1), 0.0f, std::sin(a1)};

    auto side = [&](glm::vec3 p, glm::vec2 uv) { out.push_back({p, uv, sideNormal, sideTangent, up}); };
    side(Corner(a1, -1), {0.5f, 0.0f});
    side(Corner(a2, -1), {1.0f, 0.0f});
    side(Corner(a1, 1), {0.5f, 1.0f});
    side(Corner(a1, 1), {0.5f, 1.0f});
    side(Corner(a2, -1), {1.0f, 0.0f});
    side(Corner(a2, 1), {1.0f, 1.0f});

    // Bottom cap: the two rim vertices carry each other's coordinates.
    out.push_back({{0, -1, 0}, {0.25f, 0.5f}, down, capTangent, centreBitangent});
    out.push_back({Corner(a2, -1), CapUv(a1), down, capTangent, rimBitangent});
    out.push_back({Corner(a1, -1), CapUv(a2), down, capTangent, rimBitangent});
    out.push_back({{0, 1, 0}, {0.25f, 0.5f}, up, capTangent, centreBitangent});
    out.push_back({Corner(a1, 1), CapUv(a1), up, capTangent, rimBitangent});
    out.push_back({Corner(a2, 1), CapUv(a2), up, capTangent, rimBitangent});
}

} // namespace

void HexagonMesh::Generate(std::vector<Vertex>& vertices, int sides, std::vector<std::uint32_t>& indices) const
{
    vertices.clear();
    indices.clear();
    int n = sides >= 4 ? sides : 8;
    float step = kTwoPi / static_cast<float>(n);
    float a1 = 0.0f;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            a1 += step;
        float a2 = std::min(kTwoPi, a1 + step);
        AppendSide(vertices, a1, a2);
    }
    indices.resize(vertices.size());
    for (std::uint32_t i = 0; i < indices.size(); ++i)
        indices[i] = i;
}

} // namespace Engine
