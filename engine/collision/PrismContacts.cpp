#include "engine/collision/PrismContacts.h"

#include "engine/collision/HexPrismShape.h"
#include "engine/collision/ShapeGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace Engine::Contacts {
namespace {

// Two placed normals closer than this to parallel give one axis.
constexpr float kParallel = 1.0f - 1e-6f;

// A body's extents along an axis, split by which side of the centre line
// (the direction d from the first body to the second) its offsets lie on.
struct Extents {
    float toward = 0.0f;
    float away = 0.0f;
};

// Offsets with offset.d >= 0 face the other body when `facingPositive`;
// otherwise offsets with offset.d < 0 do.
Extents ExtentsAlong(const std::vector<glm::vec3>& offsets, const glm::vec3& d, const glm::vec3& axis,
                     bool facingPositive)
{
    Extents extents;
    for (const glm::vec3& offset : offsets) {
        const float length = Geometry::ProjectedLength(offset, axis);
        const float side = glm::dot(offset, d);
        const bool toward = facingPositive ? side >= 0.0f : side < 0.0f;
        float& extent = toward ? extents.toward : extents.away;
        extent = std::max(extent, length);
    }
    return extents;
}

std::vector<glm::vec3> BoxOffsets(const Transform3D& box)
{
    const Geometry::BoxFrame frame(box);
    std::vector<glm::vec3> offsets;
    for (int i = 0; i < 8; ++i)
        offsets.push_back(frame.CornerOffset(i));
    return offsets;
}

std::vector<glm::vec3> UnitPrismOffsets()
{
    return std::vector<glm::vec3>(UnitHexPrism.vertices.begin(), UnitHexPrism.vertices.end());
}

void AddAxis(std::vector<glm::vec3>& axes, const glm::vec3& axis)
{
    for (const glm::vec3& held : axes) {
        if (std::fabs(glm::dot(held, axis)) >= kParallel)
            return;
    }
    axes.push_back(axis);
}

void AddPrismAxes(std::vector<glm::vec3>& axes, const Transform3D& prism)
{
    for (const HexPrismShape::Face& face : UnitHexPrism.TransformedFaces(prism.GetModelMatrix()))
        AddAxis(axes, face.normal);
}

// The separating-axis rule shared by both tests: on every axis the overlap
// toward each other and the overlap the long way round must be >= 0, and the
// least of them all (the first on ties) gives depth and normal.
bool SeparatingAxes(const std::vector<glm::vec3>& axes, const std::vector<glm::vec3>& firstOffsets,
                    const std::vector<glm::vec3>& secondOffsets, const glm::vec3& d, ContactInfo& out)
{
    float least = FLT_MAX;
    glm::vec3 leastAxis(0.0f, 1.0f, 0.0f);
    for (const glm::vec3& axis : axes) {
        const float distance = Geometry::ProjectedLength(d, axis);
        const Extents first = ExtentsAlong(firstOffsets, d, axis, true);
        const Extents second = ExtentsAlong(secondOffsets, d, axis, false);
        const float facing = first.toward + second.toward - distance;
        const float around = second.away + distance + first.away;
        if (facing < 0.0f || around < 0.0f)
            return false;
        for (const float overlap : {facing, around}) {
            if (overlap < least) {
                least = overlap;
                leastAxis = axis;
            }
        }
    }
    leastAxis = Geometry::UnitOr(leastAxis);
    out.normal = glm::dot(leastAxis, d) < 0.0f ? -leastAxis : leastAxis;
    out.depth = least;
    out.point = glm::vec3(0.0f);
    return true;
}

} // namespace

bool ObbPrism(const Transform3D& box, const Transform3D& prism, ContactInfo& out)
{
    if (!Geometry::SpheresOverlap(box.pos, Geometry::BoundingRadius(box), prism.pos, Geometry::BoundingRadius(prism)))
        return false;
    std::vector<glm::vec3> axes;
    AddPrismAxes(axes, prism);
    const Geometry::BoxFrame frame(box);
    for (const glm::vec3& axis : frame.axes)
        axes.push_back(axis);
    return SeparatingAxes(axes, BoxOffsets(box), UnitPrismOffsets(), prism.pos - box.pos, out);
}

bool PrismPrism(const Transform3D& a, const Transform3D& b, ContactInfo& out)
{
    if (!Geometry::SpheresOverlap(a.pos, Geometry::BoundingRadius(a), b.pos, Geometry::BoundingRadius(b)))
        return false;
    std::vector<glm::vec3> axes;
    AddPrismAxes(axes, a);
    AddPrismAxes(axes, b);
    const std::vector<glm::vec3> offsets = UnitPrismOffsets();
    return SeparatingAxes(axes, offsets, offsets, b.pos - a.pos, out);
}

} // namespace Engine::Contacts
