#include "engine/collision/SphereContacts.h"

#include "engine/collision/HexPrismShape.h"
#include "engine/collision/ShapeGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace Engine::Contacts {
namespace {

using Geometry::BoxFrame;
using Geometry::BoundingRadius;
using Geometry::LeastAxis;
using Geometry::SphereRadius;
using Geometry::UnitAxis;
using Geometry::UnitOr;

// The sphere (s, r) against the box of centre c and half-extents h, in the
// box's axes. The normal points from the box to the sphere.
bool SphereAgainstBox(const glm::vec3& c, const glm::vec3& h, const glm::vec3& s, float r, ContactInfo& out)
{
    const glm::vec3 q = glm::clamp(s, c - h, c + h);
    out.point = q;
    if (q == s) {
        const glm::vec3 penetration = h - glm::abs(s - c);
        const int axis = LeastAxis(penetration);
        glm::vec3 normal = UnitAxis(axis);
        if (glm::dot(normal, s - c) < 0.0f)
            normal = -normal;
        out.normal = normal;
        out.depth = penetration[axis] + r;
        return true;
    }
    const glm::vec3 offset = s - q;
    const float distance = glm::length(offset);
    out.normal = UnitOr(offset);
    out.depth = r - distance;
    return glm::dot(offset, offset) <= r * r;
}

// The nearest point of a cap disc of radius R at height y to the local point s.
glm::vec3 NearestOnDisc(const glm::vec3& s, float R, float y)
{
    glm::vec2 across(s.x, s.z);
    const float length = glm::length(across);
    if (length > R)
        across *= R / length;
    return glm::vec3(across.x, y, across.y);
}

// The cylinder rule in the cylinder's frame (origin at the base, y along the
// axis, height h, radius R).
bool SphereAgainstCylinder(const glm::vec3& s, float r, float h, float R, ContactInfo& local)
{
    if (s.y >= h || s.y <= 0.0f) {
        const glm::vec3 q = NearestOnDisc(s, R, s.y >= h ? h : 0.0f);
        const float distance = glm::length(s - q);
        local.point = q;
        local.depth = distance;
        local.normal = UnitOr(s - q);
        return distance <= r;
    }
    const float rho = glm::length(glm::vec2(s.x, s.z));
    const float toTop = h - s.y;
    const float toBottom = s.y;
    const float toSide = std::fabs(R - rho);
    if (toBottom > toTop && toSide > toTop) {
        local.normal = glm::vec3(0.0f, 1.0f, 0.0f);
        local.depth = toTop;
    } else if (toSide <= toBottom) {
        local.normal = UnitOr(glm::vec3(s.x, 0.0f, s.z));
        local.depth = toSide;
    } else {
        local.normal = glm::vec3(0.0f, -1.0f, 0.0f);
        local.depth = toBottom;
    }
    local.point = s;
    return rho < R + r;
}

// Runs a sphere rule on the sphere's centre in the frame's own axes and
// turns the contact it finds back into world space.
template <class Rule>
bool InFrame(const BoxFrame& frame, const glm::vec3& sphereCentre, ContactInfo& out, Rule rule)
{
    ContactInfo local;
    const bool hit = rule(frame.PointToLocal(sphereCentre), local);
    out.point = frame.PointToWorld(local.point);
    out.normal = frame.DirectionToWorld(local.normal);
    out.depth = local.depth;
    return hit;
}

// Applies a shell rule to a sphere contact of depth d, with the rule's
// radius: the smaller shell's, or the plain sphere's. Between two shells a
// depth of exactly radius + 1 already counts as inside the wall.
bool ShellRule(float radius, bool outerBoundInside, ContactInfo& out)
{
    const float d = out.depth;
    if (d > 2.0f * radius + 2.0f)
        return false;
    if (d < radius + 1.0f || (d == radius + 1.0f && !outerBoundInside))
        return true;
    out.normal = -out.normal;
    out.depth = 2.0f * radius + 2.0f - d;
    return true;
}

} // namespace

bool SphereSphere(const Transform3D& a, const Transform3D& b, ContactInfo& out)
{
    const float ra = SphereRadius(a);
    const glm::vec3 offset = b.pos - a.pos;
    const float distance = glm::length(offset);
    out.depth = ra + SphereRadius(b) - distance;
    out.normal = UnitOr(offset);
    out.point = a.pos + ra * out.normal;
    return out.depth >= 0.0f;
}

bool AabbSphere(const Transform3D& box, const Transform3D& sphere, ContactInfo& out)
{
    return SphereAgainstBox(box.pos, box.scale, sphere.pos, SphereRadius(sphere), out);
}

bool ObbSphere(const Transform3D& box, const Transform3D& sphere, ContactInfo& out)
{
    const float r = SphereRadius(sphere);
    if (!Geometry::SpheresOverlap(box.pos, BoundingRadius(box), sphere.pos, r))
        return false;
    return InFrame(BoxFrame(box), sphere.pos, out, [&](const glm::vec3& s, ContactInfo& local) {
        return SphereAgainstBox(glm::vec3(0.0f), box.scale, s, r, local);
    });
}

bool CylinderSphere(const Transform3D& cylinder, const Transform3D& sphere, ContactInfo& out)
{
    const float r = SphereRadius(sphere);
    if (!Geometry::SpheresOverlap(cylinder.pos, BoundingRadius(cylinder), sphere.pos, r))
        return false;
    const BoxFrame frame(cylinder.pos - cylinder.scale.y * cylinder.up, cylinder);
    return InFrame(frame, sphere.pos, out, [&](const glm::vec3& s, ContactInfo& local) {
        return SphereAgainstCylinder(s, r, 2.0f * cylinder.scale.y, cylinder.scale.x, local);
    });
}

bool PrismSphere(const Transform3D& prism, const Transform3D& sphere, ContactInfo& out)
{
    const float r = SphereRadius(sphere);
    if (!Geometry::SpheresOverlap(prism.pos, BoundingRadius(prism), sphere.pos, r))
        return false;
    const auto faces = UnitHexPrism.TransformedFaces(prism.GetModelMatrix());
    const glm::vec3 s = sphere.pos;
    glm::vec3 q = s;
    for (const HexPrismShape::Face& face : faces) {
        if (glm::dot(s - face.point, face.normal) > 0.0f)
            q -= face.normal * glm::dot(q - face.point, face.normal);
    }
    const glm::vec3 moved = glm::abs(q - s);
    if (moved.x >= FLT_MIN || moved.y >= FLT_MIN || moved.z >= FLT_MIN) {
        out.point = q;
        out.normal = UnitOr(s - q);
        out.depth = r - glm::length(s - q);
        return out.depth >= 0.0f;
    }
    // The centre is inside: out through the nearest face (the first on ties).
    int nearest = 0;
    float nearestDistance = FLT_MAX;
    for (int i = 0; i < HexPrismShape::kFaceCount; ++i) {
        const float distance = std::fabs(glm::dot(s - faces[i].point, faces[i].normal));
        if (distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    out.normal = faces[nearest].normal;
    out.depth = nearestDistance + r;
    out.point = s - nearestDistance * out.normal;
    return true;
}

bool ShellShell(const Transform3D& a, const Transform3D& b, ContactInfo& out)
{
    if (!SphereSphere(a, b, out))
        return false;
    return ShellRule(std::min(SphereRadius(a), SphereRadius(b)), true, out);
}

bool SphereShell(const Transform3D& sphere, const Transform3D& shell, ContactInfo& out)
{
    if (!SphereSphere(sphere, shell, out))
        return false;
    const float rs = SphereRadius(sphere);
    if (rs > SphereRadius(shell))
        return true;
    return ShellRule(rs, false, out);
}

} // namespace Engine::Contacts
