#pragma once
#include <array>
#include <glm/glm.hpp>

namespace Engine {

class Model;

// What one camera can see: the six planes of its view-projection and its
// eye. The instanced pass draws only the instances inside and, nearest
// first, lets the depth test turn away the hidden pixels of the farther
// ones before they are shaded. Instances are tested by their model's box,
// not a sphere round it: a floor tile is a column sixteen times as long as
// it is wide, and a sphere round it reaches into nearly every view.
class ViewVolume {
public:
    ViewVolume(const glm::mat4& viewProjection, const glm::vec3& eye);

    // Whether any part of a box may lie inside: the box of half extents
    // `half` round `centre`, both in model space, carried by `world`
    // (which may scale, turn and shear it). Never false for a box that
    // reaches into the volume (it may be true for one that only passes a
    // corner of it); a box with no extent, or flattened to nothing by a
    // vanished entity's zero matrix, is nothing to see.
    bool MaySee(const glm::mat4& world, const glm::vec3& centre, const glm::vec3& half) const;
    const glm::vec3& Eye() const { return mEye; }

private:
    // Each plane as (normal, distance), the inside where the dot product
    // with (point, 1) is positive; normals of unit length.
    std::array<glm::vec4, 6> mPlanes{};
    glm::vec3 mEye{0.0f};
};

// The smallest axis-aligned box in model space that holds every vertex of
// every mesh, as its centre and half extents; all zero without vertices.
struct ModelBox {
    glm::vec3 centre{0.0f};
    glm::vec3 half{0.0f};
};
ModelBox ModelBounds(const Model& model);

} // namespace Engine
