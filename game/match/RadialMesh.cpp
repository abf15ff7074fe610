#include "game/match/RadialMesh.h"

#include <cmath>

namespace {

constexpr float kFullTurn = 6.283f;
constexpr float kQuarterTurn = 1.57075f;

} // namespace

RadialMesh::RadialMesh(int sectors, int sector, int subdivisions)
    : Engine::Mesh(SliceVertices(sectors, sector, subdivisions), SliceIndices(subdivisions))
{
}

std::vector<Engine::Vertex> RadialMesh::SliceVertices(int sectors, int sector, int subdivisions)
{
    if (sectors < 1 || subdivisions < 1)
        return {};
    const float width = kFullTurn / static_cast<float>(sectors);
    const float step = width / static_cast<float>(subdivisions);
    // The first sector is centred on straight down.
    const float start = static_cast<float>(sector) * width - width * 0.5f - kQuarterTurn;
    std::vector<Engine::Vertex> vertices(static_cast<std::size_t>(subdivisions) + 2);
    for (Engine::Vertex& vertex : vertices)
        vertex.normal = {0.0f, 0.0f, 1.0f};
    for (int j = 0; j <= subdivisions; ++j) {
        const float angle = start + static_cast<float>(j) * step;
        Engine::Vertex& rim = vertices[static_cast<std::size_t>(j) + 1];
        rim.position = {std::cos(angle), std::sin(angle), 0.0f};
        rim.uv = {std::cos(angle), std::sin(angle)};
    }
    return vertices;
}

std::vector<std::uint32_t> RadialMesh::SliceIndices(int subdivisions)
{
    std::vector<std::uint32_t> indices;
    for (std::uint32_t j = 1; static_cast<int>(j) <= subdivisions; ++j)
        indices.insert(indices.end(), {0u, j, j + 1});
    return indices;
}
