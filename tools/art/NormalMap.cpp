#include "tools/art/NormalMap.h"

#include <algorithm>

#include <glm/geometric.hpp>

namespace Art {

float HeightField::Clamped(int x, int y) const
{
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    return rise[static_cast<std::size_t>(y) * width + x];
}

Colour EncodeNormal(const glm::vec3& normal)
{
    const glm::vec3 n = glm::normalize(normal);
    return Colour(n * 0.5f + 0.5f, 1.0f);
}

Canvas NormalMapFrom(const HeightField& field)
{
    Canvas map(field.width, field.height);
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            const float alongU = (field.Clamped(x + 1, y) - field.Clamped(x - 1, y)) * 0.5f;
            const float alongV = (field.Clamped(x, y - 1) - field.Clamped(x, y + 1)) * 0.5f;
            map.At(x, y) = EncodeNormal(glm::vec3(-alongU, -alongV, 1.0f));
        }
    }
    return map;
}

} // namespace Art
