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

bool ViewVolume::MaySee(const glm::vec3& centre, float radius) const
{
    if (!(radius > 0.0f))
        return false;
    for (const glm::vec4& plane : mPlanes)
        if (glm::dot(glm::vec3(plane), centre) + plane.w < -radius)
            return false;
    return true;
}

float ModelRadius(const Model& model)
{
    float largest = 0.0f;
    for (const Mesh& mesh : model.meshes)
        for (const Vertex& vertex : mesh.Vertices())
            largest = std::max(largest, glm::dot(vertex.position, vertex.position));
    return std::sqrt(largest);
}

float LargestScale(const glm::mat4& world)
{
    // The square root of the summed squares of the 3 x 3 part bounds its
    // largest stretch also when parents' scales and rotations shear it.
    float sum = 0.0f;
    for (int column = 0; column < 3; ++column)
        sum += glm::dot(glm::vec3(world[column]), glm::vec3(world[column]));
    return std::sqrt(sum);
}

} // namespace Engine
