#pragma once
#include <array>
#include <glm/glm.hpp>

namespace Engine {

// A floor tile's collision geometry: a hexagonal prism of circumradius 1
// (corners on the x axis) reaching from y = -1 to y = 1, in model space.
class HexPrismShape {
public:
    struct Face {
        glm::vec3 point;
        // Outward, unit length.
        glm::vec3 normal;
    };

    static constexpr int kVertexCount = 12;
    static constexpr int kFaceCount = 8;
    // Faces: 0 top, 1..3 sides, 4 bottom, 5..7 the sides opposite 1..3, so
    // face i and face i + 4 bound one slab.
    static constexpr int kSlabCount = 4;

    HexPrismShape();

    // The prism placed by a model matrix: points through the matrix, normals
    // through its inverse transpose and made unit length again. A matrix that
    // cannot be inverted keeps the model-space normals.
    HexPrismShape Transformed(const glm::mat4& model) const;
    // Only the faces of Transformed, for the tests that need no vertices.
    std::array<Face, kFaceCount> TransformedFaces(const glm::mat4& model) const;

    // Top ring then bottom ring, the same six (x, z) in the same order.
    std::array<glm::vec3, kVertexCount> vertices;
    std::array<Face, kFaceCount> faces;
};

// The unit prism, built before main.
extern const HexPrismShape UnitHexPrism;

} // namespace Engine
