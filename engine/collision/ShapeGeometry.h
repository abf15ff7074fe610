#pragma once
#include "engine/core/Transform3D.h"

#include <array>
#include <glm/glm.hpp>

// Placement helpers shared by the shape tests and the ray tests. A body's
// size and placement come from its Transform3D (see CollisionShape.h).
namespace Engine::Geometry {

// The direction a degenerate contact falls back to (coincident centres, a
// sphere centre on a cylinder's axis), so that no NaN ever reaches a position.
inline constexpr glm::vec3 kFallbackNormal{0.0f, 1.0f, 0.0f};

// v made unit length, or the fallback when v is too short to give a direction.
glm::vec3 UnitOr(const glm::vec3& v, const glm::vec3& fallback = kFallbackNormal);

// The axis (0 x, 1 y, 2 z) of the least component, x then y on ties: the
// contact tests' rule for overlaps equally deep on several axes.
int LeastAxis(const glm::vec3& v);
glm::vec3 UnitAxis(int axis);

// Length of the projection of v on a (|v.a| / |a|); 0 for a zero axis.
float ProjectedLength(const glm::vec3& v, const glm::vec3& a);

inline float SphereRadius(const Transform3D& t) { return t.scale.x; }
// The radius of the bounding sphere of a box, cylinder or prism body.
inline float BoundingRadius(const Transform3D& t) { return glm::length(t.scale); }
bool SpheresOverlap(const glm::vec3& ca, float ra, const glm::vec3& cb, float rb);

// A box's own frame: right = forward x up, up, forward, and the half-extents
// along them (scale x, y, z).
struct BoxFrame {
    glm::vec3 centre;
    std::array<glm::vec3, 3> axes;
    glm::vec3 half;

    explicit BoxFrame(const Transform3D& t);
    BoxFrame(const glm::vec3& origin, const Transform3D& t);

    // Coordinates of a world point, or of a world direction, along the axes.
    glm::vec3 PointToLocal(const glm::vec3& p) const;
    glm::vec3 DirectionToLocal(const glm::vec3& d) const;
    glm::vec3 PointToWorld(const glm::vec3& local) const;
    glm::vec3 DirectionToWorld(const glm::vec3& local) const;
    // centre +- half.x right +- half.y up +- half.z forward; corner i takes
    // the + side on axis k when bit k of i is set.
    glm::vec3 CornerOffset(int i) const;
};

// Bounds included.
bool PointInAabb(const glm::vec3& p, const glm::vec3& centre, const glm::vec3& half);

} // namespace Engine::Geometry
