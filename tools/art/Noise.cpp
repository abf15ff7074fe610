#include "tools/art/Noise.h"

#include <cmath>

namespace Art::Noise {

std::uint32_t Hash(std::uint32_t v)
{
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    v ^= v >> 16;
    return v;
}

float Hash01(int x, int y, int seed)
{
    const std::uint32_t h = Hash(static_cast<std::uint32_t>(x) * 0x9E3779B1U ^ Hash(static_cast<std::uint32_t>(y) + 0x85EBCA77U * static_cast<std::uint32_t>(seed)));
    return static_cast<float>(h >> 8) / 16777216.0f;
}

float Value(glm::vec2 p, int seed, int period)
{
    const int x0 = static_cast<int>(std::floor(p.x)), y0 = static_cast<int>(std::floor(p.y));
    const float fx = p.x - static_cast<float>(x0), fy = p.y - static_cast<float>(y0);
    const float sx = fx * fx * (3.0f - 2.0f * fx), sy = fy * fy * (3.0f - 2.0f * fy);
    auto corner = [&](int x, int y) {
        if (period > 0) {
            x = ((x % period) + period) % period;
            y = ((y % period) + period) % period;
        }
        return Hash01(x, y, seed);
    };
    const float top = corner(x0, y0) + (corner(x0 + 1, y0) - corner(x0, y0)) * sx;
    const float bottom = corner(x0, y0 + 1) + (corner(x0 + 1, y0 + 1) - corner(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

} // namespace Art::Noise
