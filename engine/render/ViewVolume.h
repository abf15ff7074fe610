#pragma once
#include <array>
#include <glm/glm.hpp>

namespace Engine {

class Model;

// What one camera can see: the six planes of its view-projection and its
// eye. The instanced pass draws only the instances inside and, nearest
// first, lets the depth test turn away the hidden pixels of the farther
// ones before they are shaded.
class ViewVolume {
public:
    ViewVolume(const glm::mat4& viewProjection, const glm::vec3& eye);

    // Whether any part of the sphere may lie inside (a sphere that only
    // grazes a corner outside can still pass, never the other way round).
    // A sphere of radius zero or less is nothing to see.
    bool MaySee(const glm::vec3& centre, float radius) const;
    const glm::vec3& Eye() const { return mEye; }

private:
    // Each plane as (normal, distance), the inside where the dot product
    // with (point, 1) is positive; normals of unit length.
    std::array<glm::vec4, 6> mPlanes{};
    glm::vec3 mEye{0.0f};
};

// The radius round the model's origin that holds every vertex of every
// mesh; zero for a model without vertices.
float ModelRadius(const Model& model);

// A bound on how far a world matrix stretches any direction: a sphere of
// radius r round the model's origin lands within r times this round the
// matrix's translation.
float LargestScale(const glm::mat4& world);

} // namespace Engine
