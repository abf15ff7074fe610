#pragma once
#include <glm/glm.hpp>

namespace Engine::Math {

constexpr float kDegreesToRadians = 3.14159265358979f / 180.0f;

float Square(float x);
// (2 - t) * t: rises fast and flattens at 1 over t in [0, 1].
float EaseOutQuad(float t);
// (b - a) * t + a per component; t is not clamped, so it extrapolates.
float Lerp(float a, float b, float t);
glm::vec3 Lerp(const glm::vec3& a, const glm::vec3& b, float t);
glm::vec4 Lerp(const glm::vec4& a, const glm::vec4& b, float t);
// Whether every component is a number and not infinite.
bool IsFinite(const glm::vec3& v);

} // namespace Engine::Math
