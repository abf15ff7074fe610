#include "engine/collision/OctreeCodes.h"

#include <bit>
#include <cmath>
#include <optional>

namespace Engine::Octree {
namespace {

// A float corner as a grid coordinate, or nothing when it is NaN or outside
// [-W/2, W/2), where an integer conversion could overflow.
std::optional<glm::ivec3> GridCorner(const glm::vec3& corner, int worldSize)
{
    const float low = -0.5f * static_cast<float>(worldSize);
    const float high = 0.5f * static_cast<float>(worldSize);
    for (int k = 0; k < 3; ++k) {
        if (!(corner[k] >= low && corner[k] < high))
            return std::nullopt;
    }
    return glm::ivec3(corner);
}

std::uint32_t GroupAt(std::uint32_t code, int level, int depth) { return (code >> (3 * (depth - 1 - level))) & 7u; }

} // namespace

std::uint32_t PointToCode(const glm::ivec3& point, int worldSize, int depth)
{
    const glm::ivec3 shifted = point + glm::ivec3(worldSize / 2);
    for (int k = 0; k < 3; ++k) {
        if (shifted[k] < 0 || shifted[k] >= worldSize)
            return kRootCode;
    }
    const int topBit = std::bit_width(static_cast<unsigned>(worldSize)) - 2;
    std::uint32_t code = 1u << (3 * depth);
    for (int level = 0; level < depth; ++level) {
        const int bit = topBit - level;
        const std::uint32_t group = (static_cast<std::uint32_t>((shifted.z >> bit) & 1) << 2)
            | (static_cast<std::uint32_t>((shifted.y >> bit) & 1) << 1)
            | static_cast<std::uint32_t>((shifted.x >> bit) & 1);
        code |= group << (3 * (depth - 1 - level));
    }
    return code;
}

std::uint32_t BoxToCode(const glm::vec3& centre, const glm::vec3& half, int worldSize, int depth)
{
    const std::optional<glm::ivec3> low = GridCorner(glm::floor(centre - half), worldSize);
    const std::optional<glm::ivec3> high = GridCorner(glm::ceil(centre + half), worldSize);
    if (!low || !high)
        return kRootCode;
    const std::uint32_t codeLow = PointToCode(*low, worldSize, depth);
    const std::uint32_t codeHigh = PointToCode(*high, worldSize, depth);
    if (codeLow == codeHigh)
        return codeLow;
    if (codeLow == kRootCode || codeHigh == kRootCode)
        return kRootCode;
    std::uint32_t code = kRootCode;
    for (int level = 0; level < depth; ++level) {
        const std::uint32_t group = GroupAt(codeLow, level, depth);
        if (group != GroupAt(codeHigh, level, depth))
            break;
        code = (code << 3) | group;
    }
    return code;
}

int LevelOf(std::uint32_t code) { return code == 0 ? 0 : (std::bit_width(code) - 1) / 3; }

Box CodeToBox(std::uint32_t code, int worldSize)
{
    const int levels = LevelOf(code);
    Box box;
    box.half = 0.5f * static_cast<float>(worldSize);
    for (int level = 0; level < levels; ++level) {
        box.half *= 0.5f;
        const std::uint32_t group = GroupAt(code, level, levels);
        for (int k = 0; k < 3; ++k) {
            const bool upper = (group >> k) & 1u;
            box.centre[k] += upper ? box.half : -box.half;
        }
    }
    return box;
}

bool SphereTouchesBox(const glm::vec3& centre, float radius, const Box& box)
{
    const glm::vec3 nearest = glm::clamp(centre, box.centre - box.half, box.centre + box.half);
    const glm::vec3 offset = nearest - centre;
    return glm::dot(offset, offset) <= radius * radius;
}

} // namespace Engine::Octree
