#include "engine/collision/RayTests.h"

#include "engine/collision/CollisionShape.h"
#include "engine/collision/HexPrismShape.h"
#include "engine/collision/ShapeGeometry.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>

namespace Engine::Rays {
namespace {

// One slab: the interval of t over which the ray lies between two parallel
// planes. `crosses` is false for a ray parallel to the planes, which takes
// no part in the overlap.
struct Slab {
    float entry = kMiss;
    float exit = kMiss;
    bool crosses = false;
};

// The overlap rule: no hit when one slab is entered after another is left;
// otherwise the last entry.
float Overlap(const Slab* slabs, int count)
{
    float lastEntry = -FLT_MAX;
    float firstExit = FLT_MAX;
    bool any = false;
    for (int i = 0; i < count; ++i) {
        if (!slabs[i].crosses)
            continue;
        any = true;
        lastEntry = std::max(lastEntry, slabs[i].entry);
        firstExit = std::min(firstExit, slabs[i].exit);
    }
    if (!any || lastEntry > firstExit)
        return kMiss;
    return lastEntry;
}

// The slab between the planes at distances `low` and `high` along a unit
// normal, for a ray whose origin and direction project to `o` and `d` on it.
Slab SlabAlong(float o, float d, float low, float high)
{
    Slab slab;
    if (std::fabs(d) < kParallel)
        return slab;
    const float t0 = (low - o) / d;
    const float t1 = (high - o) / d;
    slab.entry = std::min(t0, t1);
    slab.exit = std::max(t0, t1);
    slab.crosses = true;
    return slab;
}

// A ray beyond one plane of a slab and not heading back towards it.
bool LeavesSlab(float o, float d, float low, float high) { return (o > high && d >= 0.0f) || (o < low && d <= 0.0f); }

float CapParameter(float oy, float dy, float height, float& bottom, float& top)
{
    bottom = (0.0f - oy) / dy;
    top = (height - oy) / dy;
    if (bottom >= 0.0f && (top > bottom || top < 0.0f))
        return bottom;
    return top >= 0.0f ? top : kMiss;
}

// The cylinder in its own frame: origin at the base, y along the axis.
float CylinderLocal(const glm::vec3& o, const glm::vec3& d, float height, float radius)
{
    const auto heightAt = [&](float t) { return o.y + t * d.y; };
    const auto within = [height](float y) { return y >= 0.0f && y <= height; };
    const bool vertical = std::fabs(d.y) >= kParallel;
    if (std::fabs(d.x) < kParallel && std::fabs(d.z) < kParallel) {
        if (!vertical)
            return kMiss;
        float bottom = 0.0f;
        float top = 0.0f;
        const float t = CapParameter(o.y, d.y, height, bottom, top);
        if (t < 0.0f)
            return kMiss;
        const glm::vec2 across(o.x + t * d.x, o.z + t * d.z);
        return glm::length(across) <= radius ? t : kMiss;
    }
    const float a = d.x * d.x + d.z * d.z;
    const float b = 2.0f * (o.x * d.x + o.z * d.z);
    const float c = o.x * o.x + o.z * o.z - radius * radius;
    const float discriminant = b * b - 4.0f * a * c;
    if (discriminant < 0.0f)
        return kMiss;
    if (discriminant == 0.0f) {
        const float t = -b / (2.0f * a);
        return t >= 0.0f && heightAt(t) > 0.0f && heightAt(t) < height ? t : kMiss;
    }
    const float root = std::sqrt(discriminant);
    const float near = (-b - root) / (2.0f * a);
    const float far = (-b + root) / (2.0f * a);
    if (near < 0.0f && far < 0.0f)
        return kMiss;
    const float yNear = heightAt(near);
    const float yFar = heightAt(far);
    if (near >= 0.0f && yNear > 0.0f && yNear < height)
        return near;
    if ((yNear > height && yFar > height) || (yNear < 0.0f && yFar < 0.0f))
        return kMiss;
    if (vertical) {
        float bottom = 0.0f;
        float top = 0.0f;
        const float cap = CapParameter(o.y, d.y, height, bottom, top);
        if (!(bottom < 0.0f && top < 0.0f) && cap >= 0.0f)
            return within(yFar) ? std::min(far, cap) : cap;
    }
    return within(yFar) ? far : kMiss;
}

} // namespace

float Aabb(const glm::vec3& o, const glm::vec3& d, const glm::vec3& centre, const glm::vec3& half)
{
    if (Geometry::PointInAabb(o, centre, half))
        return 0.0f;
    std::array<Slab, 3> slabs;
    for (int k = 0; k < 3; ++k) {
        const float low = centre[k] - half[k];
        const float high = centre[k] + half[k];
        if (LeavesSlab(o[k], d[k], low, high))
            return kMiss;
        slabs[k] = SlabAlong(o[k], d[k], low, high);
    }
    return Overlap(slabs.data(), 3);
}

float Obb(const glm::vec3& o, const glm::vec3& d, const Transform3D& box)
{
    const Geometry::BoxFrame frame(box);
    return Aabb(frame.PointToLocal(o), frame.DirectionToLocal(d), glm::vec3(0.0f), box.scale);
}

float Sphere(const glm::vec3& o, const glm::vec3& d, const glm::vec3& centre, float radius)
{
    const glm::vec3 offset = o - centre;
    const float a = glm::dot(d, d);
    const float b = 2.0f * glm::dot(offset, d);
    const float c = glm::dot(offset, offset) - radius * radius;
    const float discriminant = b * b - 4.0f * a * c;
    if (discriminant < 0.0f || a == 0.0f)
        return kMiss;
    if (discriminant == 0.0f)
        return -b / (2.0f * a);
    const float root = std::sqrt(discriminant);
    const float t1 = (-b + root) / (2.0f * a);
    const float t2 = (-b - root) / (2.0f * a);
    if (t1 < 0.0f)
        return t2;
    if (t2 < 0.0f)
        return t1; // the origin is inside
    return std::min(t1, t2);
}

float Cylinder(const glm::vec3& o, const glm::vec3& d, const Transform3D& cylinder)
{
    const Geometry::BoxFrame frame(cylinder.pos - cylinder.scale.y * cylinder.up, cylinder);
    return CylinderLocal(frame.PointToLocal(o), frame.DirectionToLocal(d), 2.0f * cylinder.scale.y,
                         cylinder.scale.x);
}

float Prism(const glm::vec3& o, const glm::vec3& d, const glm::mat4& world)
{
    // The unit prism lies in the model cube [-1, 1]^3; a ray that misses
    // that cube's world box misses the prism, and most rays of a floor
    // query miss most tiles' boxes. Cheaper than placing the faces.
    const glm::vec3 reach = glm::abs(glm::vec3(world[0])) + glm::abs(glm::vec3(world[1])) + glm::abs(glm::vec3(world[2]));
    if (Aabb(o, d, glm::vec3(world[3]), reach) < 0.0f)
        return kMiss;
    const auto faces = UnitHexPrism.TransformedFaces(world);
    std::array<Slab, HexPrismShape::kSlabCount> slabs;
    for (int i = 0; i < HexPrismShape::kSlabCount; ++i) {
        const HexPrismShape::Face& face = faces[i];
        const HexPrismShape::Face& opposite = faces[i + HexPrismShape::kSlabCount];
        // Both planes measured along this face's normal.
        const glm::vec3& n = face.normal;
        const float high = glm::dot(n, face.point);
        const float low = glm::dot(n, opposite.point);
        const float along = glm::dot(n, o);
        const float heading = glm::dot(n, d);
        if (LeavesSlab(along, heading, std::min(low, high), std::max(low, high)))
            return kMiss;
        slabs[i] = SlabAlong(along, heading, low, high);
    }
    return Overlap(slabs.data(), HexPrismShape::kSlabCount);
}

float AgainstShape(std::uint32_t shape, EntityHandle entity, const glm::vec3& o, const glm::vec3& d)
{
    // A prism (every floor tile a ray meets) needs its world matrix only,
    // read where the transforms keep it while the tile stands still.
    if (shape == ShapeHexPrism) {
        const TransformCompManager& transforms = TransformCompManager::GetInstance();
        const std::uint32_t index = transforms.GetDataIndex(entity);
        const glm::mat4* cached = index == TransformCompManager::kNoIndex ? nullptr : transforms.CachedWorldMatrix(index);
        return cached ? Prism(o, d, *cached) : Prism(o, d, Transform::GetWorldMatrix(entity));
    }
    const Transform3D t = MakeTransform3D(entity);
    switch (shape) {
    case ShapeAABB:
        return Aabb(o, d, t.pos, t.scale);
    case ShapeSphere:
        return Sphere(o, d, t.pos, t.scale.x);
    case ShapeOBB:
        return Obb(o, d, t);
    case ShapeCylinder:
        return Cylinder(o, d, t);
    default:
        return kMiss;
    }
}

} // namespace Engine::Rays
