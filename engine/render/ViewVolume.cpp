#include "engine/render/ViewVolume.h"

#include "engine/render/Model.h"

#include <algorithm>
#include <cmath>

namespace Engine {

ViewVolume::ViewVolume(const glm::mat4& viewProjection, const glm::vec3& eye) : mEye(eye)
{
    // A clip-space point is inside when -w <= x, y, z <= w: each bound is a
    // row of the matrix added to or taken from the fourth.
    const glm::mat4 rows = glm::transpose(viewProjection);
    for (int axis = 0; axis < 3; ++axis) {
        mPlanes[static_cast<std::size_t>(2 * axis)] = rows[3] + rows[axis];
        mPlanes[static_cast<std::size_t>(2 * axis + 1)] = rows[3] - rows[axis];
    }
    for (glm::vec4& plane : mPlanes) {
        const float length = glm::length(glm::vec3(plane));
        if (length > 0.0f)
            plane /= length;
    }
}

bool ViewVolume::MaySee(const glm::mat4& world, const glm::vec3& centre, const glm::vec3& half) const
{
    bool extent = false;
    for (int axis = 0; axis < 3; ++axis)
        extent = extent || (half[axis] > 0.0f && glm::vec3(world[axis]) != glm::vec3(0.0f));
    if (!extent)
        return false;
    const glm::vec3 middle(world * glm::vec4(centre, 1.0f));
    for (const glm::vec4& plane : mPlanes) {
        const glm::vec3 normal(plane);
        // How far the box reaches towards the plane's inside from its middle.
        float reach = 0.0f;
        for (int axis = 0; axis < 3; ++axis)
            reach += half[axis] * std::abs(glm::dot(normal, glm::vec3(world[axis])));
        if (glm::dot(normal, middle) + plane.w < -reach)
            return false;
    }
    return true;
}

ModelBox ModelBounds(const Model& model)
{
    bool any = false;
    glm::vec3 low(0.0f);
    glm::vec3 high(0.0f);
    for (const Mesh& mesh : model.meshes)
        for (const Vertex& vertex : mesh.Vertices()) {
            low = any ? glm::min(low, vertex.position) : vertex.position;
            high = any ? glm::max(high, vertex.position) : vertex.position;
            any = true;
        }
    return {(low + high) * 0.5f, (high - low) * 0.5f};
}

} // namespace Engine
