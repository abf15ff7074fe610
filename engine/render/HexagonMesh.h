#pragma once
#include "engine/render/Mesh.h"

namespace Engine {

// The floor tile: a prism of radius 1 from y = -1 to y = +1. The caps use
// the left half of the texture (a disc around (0.25, 0.5)), the sides the
// right half.
class HexagonMesh : public Mesh {
public:
    // Fills both lists (emptied first) with 12 vertices per side, every vertex
    // used once in order. Fewer than 4 sides give 8.
    void Generate(std::vector<Vertex>& vertices, int sides, std::vector<std::uint32_t>& indices) const;
};

} // namespace Engine
