#pragma once
#include "engine/render/Mesh.h"

#include <cstdint>
#include <vector>

// One slice of the radial mode menu: sector k of a unit disc cut into n
// sectors, in the z = 0 plane. Sector 0 points down and the sectors follow
// counter-clockwise (right, up, left for four). The rim is cut into s steps.
// Each rim vertex carries its (cos, sin) as texture coordinate.
class RadialMesh : public Engine::Mesh {
public:
    // Builds and uploads the slice (needs a GL context).
    RadialMesh(int sectors, int sector, int subdivisions);

    // The centre, then s + 1 rim vertices; nothing for fewer than one
    // sector or step.
    static std::vector<Engine::Vertex> SliceVertices(int sectors, int sector, int subdivisions);
    // Triangles (0, j, j + 1) for j = 1 to s.
    static std::vector<std::uint32_t> SliceIndices(int subdivisions);
};
