#include "engine/collision/BoxContacts.h"

#include "engine/collision/ShapeGeometry.h"

#include <array>
#include <cfloat>
#include <cmath>

namespace Engine::Contacts {
namespace {

using Geometry::BoxFrame;

// The first corner of `from` inside the box around `into` (centre, half),
// then the first corner of `into` inside the box around `from`; else the origin.
template <class CornersOf, class Inside>
glm::vec3 FirstCornerInside(CornersOf cornersOf, Inside inside)
{
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner = cornersOf(0, i);
        if (inside(1, corner))
            return corner;
    }
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner = cornersOf(1, i);
        if (inside(0, corner))
            return corner;
    }
    return glm::vec3(0.0f);
}

// Sum over the six scaled half-axes of both boxes of their projected lengths on a.
float ProjectedRadii(const BoxFrame& a, const BoxFrame& b, const glm::vec3& axis)
{
    float sum = 0.0f;
    for (const BoxFrame* box : {&a, &b}) {
        for (int k = 0; k < 3; ++k)
            sum += Geometry::ProjectedLength(box->axes[k] * box->half[k], axis);
    }
    return sum;
}

} // namespace

bool AabbAabb(const Transform3D& a, const Transform3D& b, ContactInfo& out)
{
    const glm::vec3 d = b.pos - a.pos;
    const glm::vec3 overlap = a.scale + b.scale - glm::abs(d);
    if (!(overlap.x >= 0.0f && overlap.y >= 0.0f && overlap.z >= 0.0f))
        return false;
    const int axis = Geometry::LeastAxis(overlap);
    glm::vec3 normal = Geometry::UnitAxis(axis);
    if (glm::dot(normal, d) < 0.0f)
        normal = -normal;
    out.normal = normal;
    out.depth = overlap[axis];
    const std::array<const Transform3D*, 2> boxes{&a, &b};
    out.point = FirstCornerInside(
        [&boxes](int box, int i) {
            const Transform3D& t = *boxes[box];
            return t.pos + glm::vec3((i & 1) ? t.scale.x : -t.scale.x, (i & 2) ? t.scale.y : -t.scale.y,
                                     (i & 4) ? t.scale.z : -t.scale.z);
        },
        [&boxes](int box, const glm::vec3& p) { return Geometry::PointInAabb(p, boxes[box]->pos, boxes[box]->scale); });
    return true;
}

bool ObbObb(const Transform3D& a, const Transform3D& b, ContactInfo& out)
{
    if (!Geometry::SpheresOverlap(a.pos, Geometry::BoundingRadius(a), b.pos, Geometry::BoundingRadius(b)))
        return false;
    const std::array<BoxFrame, 2> frames{BoxFrame(a), BoxFrame(b)};
    const glm::vec3 d = b.pos - a.pos;
    float bestSeparation = -FLT_MAX;
    glm::vec3 bestAxis(0.0f, 1.0f, 0.0f);
    for (const BoxFrame& frame : frames) {
        for (const glm::vec3& axis : frame.axes) {
            const float separation =
                Geometry::ProjectedLength(d, axis) - ProjectedRadii(frames[0], frames[1], axis);
            if (separation > 0.0f)
                return false;
            if (separation > bestSeparation) {
                bestSeparation = separation;
                bestAxis = axis;
            }
        }
    }
    bestAxis = Geometry::UnitOr(bestAxis);
    out.normal = glm::dot(bestAxis, d) < 0.0f ? -bestAxis : bestAxis;
    out.depth = std::fabs(bestSeparation);
    out.point = FirstCornerInside(
        [&frames](int box, int i) { return frames[box].centre + frames[box].CornerOffset(i); },
        [&frames](int box, const glm::vec3& p) { return Geometry::PointInAabb(p, frames[box].centre, 2.0f * frames[box].half); });
    return true;
}

} // namespace Engine::Contacts
