#include "tools/art/Shapes.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>

namespace Art::Shape {

float Circle(vec2 p, vec2 centre, float radius)
{
    return glm::length(p - centre) - radius;
}

float Ring(vec2 p, vec2 centre, float radius, float halfWidth)
{
    return std::fabs(Circle(p, centre, radius)) - halfWidth;
}

float Box(vec2 p, vec2 centre, vec2 halfSize)
{
    const vec2 d = glm::abs(p - centre) - halfSize;
    return glm::length(glm::max(d, vec2(0.0f))) + std::min(std::max(d.x, d.y), 0.0f);
}

float RoundedBox(vec2 p, vec2 centre, vec2 halfSize, float cornerRadius)
{
    const float r = std::min({ cornerRadius, halfSize.x, halfSize.y });
    return Box(p, centre, halfSize - vec2(r)) - r;
}

float Segment(vec2 p, vec2 a, vec2 b, float halfWidth)
{
    const vec2 pa = p - a;
    const vec2 ba = b - a;
    const float lengthSquared = glm::dot(ba, ba);
    const float t = lengthSquared > 0.0f ? std::clamp(glm::dot(pa, ba) / lengthSquared, 0.0f, 1.0f) : 0.0f;
    return glm::length(pa - ba * t) - halfWidth;
}

float Hexagon(vec2 p, vec2 centre, float cornerRadius, bool flatTop)
{
    // Folds the point into one twelfth of the hexagon and measures to its
    // flat edge, which lies at the inner radius.
    const float kx = -0.866025404f, ky = 0.5f, kz = 0.577350269f;
    vec2 q = glm::abs(p - centre);
    if (!flatTop)
        q = vec2(q.y, q.x);
    const float inner = cornerRadius * 0.866025404f;
    const float fold = 2.0f * std::min(kx * q.x + ky * q.y, 0.0f);
    q -= fold * vec2(kx, ky);
    q -= vec2(std::clamp(q.x, -kz * inner, kz * inner), inner);
    return glm::length(q) * (q.y < 0.0f ? -1.0f : 1.0f);
}

float Polygon(vec2 p, const std::vector<vec2>& v)
{
    if (v.empty())
        return 1e9f;
    float d = glm::dot(p - v[0], p - v[0]);
    float sign = 1.0f;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        const vec2 e = v[j] - v[i];
        const vec2 w = p - v[i];
        const float ee = glm::dot(e, e);
        const vec2 b = w - e * (ee > 0.0f ? std::clamp(glm::dot(w, e) / ee, 0.0f, 1.0f) : 0.0f);
        d = std::min(d, glm::dot(b, b));
        const bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3))
            sign = -sign;
    }
    return sign * std::sqrt(d);
}

std::vector<vec2> StarCorners(vec2 centre, float outer, float inner, int points, float firstAngle)
{
    std::vector<vec2> corners;
    for (int i = 0; i < points * 2; ++i) {
        const float a = firstAngle + 3.14159265f * static_cast<float>(i) / static_cast<float>(points);
        const float r = (i % 2 == 0) ? outer : inner;
        corners.push_back(centre + r * vec2(std::cos(a), std::sin(a)));
    }
    return corners;
}

} // namespace Art::Shape
