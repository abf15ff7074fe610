#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Transform3D.h"

#include <cstdint>
#include <glm/glm.hpp>

// Ray tests against the static shapes. A ray is o + t d for t >= 0; t is
// measured along d, so |d| sets the unit. Each test returns t, or a negative
// value when the ray misses.
namespace Engine::Rays {

inline constexpr float kMiss = -1.0f;
// Direction components below this count as parallel.
inline constexpr float kParallel = 1.1920929e-7f;

// An origin inside the box (bounds included) hits at t = 0.
float Aabb(const glm::vec3& o, const glm::vec3& d, const glm::vec3& centre, const glm::vec3& half);
float Obb(const glm::vec3& o, const glm::vec3& d, const Transform3D& box);
float Sphere(const glm::vec3& o, const glm::vec3& d, const glm::vec3& centre, float radius);
float Cylinder(const glm::vec3& o, const glm::vec3& d, const Transform3D& cylinder);
// The unit prism placed by a world matrix. A ray starting inside does not
// hit it (its entry lies behind the origin).
float Prism(const glm::vec3& o, const glm::vec3& d, const glm::mat4& world);

// The test of the entity's shape, placed by its transform; shapes without a
// ray test (none, shell, mixtures) miss.
float AgainstShape(std::uint32_t shape, EntityHandle entity, const glm::vec3& o, const glm::vec3& d);

} // namespace Engine::Rays
