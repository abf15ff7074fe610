#include "engine/collision/ShapeGeometry.h"

#include <cmath>

namespace Engine::Geometry {
namespace {

// Below this a difference of positions says nothing about a direction.
constexpr float kShortestDirection = 1e-12f;

} // namespace

glm::vec3 UnitOr(const glm::vec3& v, const glm::vec3& fallback)
{
    const float length = glm::length(v);
    if (!(length > kShortestDirection) || !std::isfinite(length))
        return fallback;
    return v / length;
}

int LeastAxis(const glm::vec3& v)
{
    if (v.y >= v.x && v.z >= v.x)
        return 0;
    return v.z >= v.y ? 1 : 2;
}

glm::vec3 UnitAxis(int axis)
{
    glm::vec3 unit(0.0f);
    unit[axis] = 1.0f;
    return unit;
}

float ProjectedLength(const glm::vec3& v, const glm::vec3& a)
{
    const float axisLength = glm::length(a);
    return axisLength > 0.0f ? std::fabs(glm::dot(v, a)) / axisLength : 0.0f;
}

bool SpheresOverlap(const glm::vec3& ca, float ra, const glm::vec3& cb, float rb)
{
    const glm::vec3 d = cb - ca;
    return (ra + rb) * (ra + rb) >= glm::dot(d, d);
}

BoxFrame::BoxFrame(const Transform3D& t) : BoxFrame(t.pos, t) {}

BoxFrame::BoxFrame(const glm::vec3& origin, const Transform3D& t)
    : centre(origin), axes{glm::cross(t.forward, t.up), t.up, t.forward}, half(t.scale)
{
}

glm::vec3 BoxFrame::PointToLocal(const glm::vec3& p) const { return DirectionToLocal(p - centre); }

glm::vec3 BoxFrame::DirectionToLocal(const glm::vec3& d) const
{
    return glm::vec3(glm::dot(d, axes[0]), glm::dot(d, axes[1]), glm::dot(d, axes[2]));
}

glm::vec3 BoxFrame::PointToWorld(const glm::vec3& local) const { return centre + DirectionToWorld(local); }

glm::vec3 BoxFrame::DirectionToWorld(const glm::vec3& local) const
{
    return axes[0] * local.x + axes[1] * local.y + axes[2] * local.z;
}

glm::vec3 BoxFrame::CornerOffset(int i) const
{
    glm::vec3 offset(0.0f);
    for (int k = 0; k < 3; ++k)
        offset += axes[k] * (((i >> k) & 1) ? half[k] : -half[k]);
    return offset;
}

bool PointInAabb(const glm::vec3& p, const glm::vec3& centre, const glm::vec3& half)
{
    for (int k = 0; k < 3; ++k) {
        if (!(p[k] >= centre[k] - half[k] && p[k] <= centre[k] + half[k]))
            return false;
    }
    return true;
}

} // namespace Engine::Geometry
