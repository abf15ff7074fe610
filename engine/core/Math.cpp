#include "engine/core/Math.h"

#include <cmath>

namespace Engine::Math {

float Square(float x) { return x * x; }

float EaseOutQuad(float t) { return (2.0f - t) * t; }

float Lerp(float a, float b, float t) { return (b - a) * t + a; }

glm::vec3 Lerp(const glm::vec3& a, const glm::vec3& b, float t) { return (b - a) * t + a; }

glm::vec4 Lerp(const glm::vec4& a, const glm::vec4& b, float t) { return (b - a) * t + a; }

bool IsFinite(const glm::vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

} // namespace Engine::Math
