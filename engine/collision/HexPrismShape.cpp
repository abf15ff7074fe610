#include "engine/collision/HexPrismShape.h"

#include <cmath>

namespace Engine {
namespace {

constexpr float kHalfRoot3 = 0.866025f;

} // namespace

const HexPrismShape UnitHexPrism;

HexPrismShape::HexPrismShape()
{
    const std::array<glm::vec2, 6> ring{
        glm::vec2(1.0f, 0.0f),   glm::vec2(0.5f, kHalfRoot3),   glm::vec2(-0.5f, kHalfRoot3),
        glm::vec2(-1.0f, 0.0f),  glm::vec2(-0.5f, -kHalfRoot3), glm::vec2(0.5f, -kHalfRoot3),
    };
    for (int i = 0; i < 6; ++i) {
        vertices[i] = glm::vec3(ring[i].x, 1.0f, ring[i].y);
        vertices[i + 6] = glm::vec3(ring[i].x, -1.0f, ring[i].y);
    }
    faces = {
        Face{glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f)},
        Face{glm::vec3(0.75f, 0.0f, 0.433013f), glm::vec3(kHalfRoot3, 0.0f, 0.5f)},
        Face{glm::vec3(0.0f, 0.0f, kHalfRoot3), glm::vec3(0.0f, 0.0f, 1.0f)},
        Face{glm::vec3(-0.75f, 0.0f, 0.433013f), glm::vec3(-kHalfRoot3, 0.0f, 0.5f)},
        Face{glm::vec3(0.0f, -1.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f)},
        Face{glm::vec3(-0.75f, 0.0f, -0.433013f), glm::vec3(-kHalfRoot3, 0.0f, -0.5f)},
        Face{glm::vec3(0.0f, 0.0f, -kHalfRoot3), glm::vec3(0.0f, 0.0f, -1.0f)},
        Face{glm::vec3(0.75f, 0.0f, -0.433013f), glm::vec3(kHalfRoot3, 0.0f, -0.5f)},
    };
}

HexPrismShape HexPrismShape::Transformed(const glm::mat4& model) const
{
    HexPrismShape placed = *this;
    for (glm::vec3& vertex : placed.vertices)
        vertex = glm::vec3(model * glm::vec4(vertex, 1.0f));
    placed.faces = TransformedFaces(model);
    return placed;
}

std::array<HexPrismShape::Face, HexPrismShape::kFaceCount> HexPrismShape::TransformedFaces(const glm::mat4& model) const
{
    // Normals go through the inverse transpose of the linear part only: the
    // translation has no business in a direction, and letting it in (as a
    // fourth component) would shrink every normal of a tile placed away from
    // the origin.
    const glm::mat3 linear(model);
    const bool invertible = glm::determinant(linear) != 0.0f;
    const glm::mat3 normalMatrix = invertible ? glm::transpose(glm::inverse(linear)) : glm::mat3(1.0f);

    // Face i + 4 is the opposite of face i: its normal is the exact negation.
    std::array<Face, kFaceCount> placed = faces;
    for (int i = 0; i < kFaceCount; ++i)
        placed[i].point = glm::vec3(model * glm::vec4(faces[i].point, 1.0f));
    for (int i = 0; i < kSlabCount; ++i) {
        const glm::vec3 normal = normalMatrix * faces[i].normal;
        const float lengthSquared = glm::dot(normal, normal);
        if (!(lengthSquared > 0.0f) || !std::isfinite(lengthSquared))
            continue;
        placed[i].normal = normal * (1.0f / std::sqrt(lengthSquared));
        placed[i + kSlabCount].normal = -placed[i].normal;
    }
    return placed;
}

} // namespace Engine
