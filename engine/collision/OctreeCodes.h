#pragma once
#include <cstdint>
#include <glm/glm.hpp>

// Locational codes of a linear octree over the cube of side W centred on the
// origin, D levels deep.
//
//   code = 1 (sentinel) followed by one 3-bit group per level, coarsest first
//   group bits, high to low: z, y, x (1 = upper half on that axis)
//   root = 1; child i of c = (c << 3) | i; parent of c = c >> 3
//
// With W = 256 and D = 5 a full-depth code has 16 bits and its cells are
// 8 units wide. Everything outside the cube lives in the root.
namespace Engine::Octree {

inline constexpr std::uint32_t kRootCode = 1;

// A node's cube.
struct Box {
    glm::vec3 centre{0.0f};
    float half = 0.0f;
};

// Any axis-aligned box.
struct Box3 {
    glm::vec3 centre{0.0f};
    glm::vec3 half{0.0f};
};

// The depth-D code of the cell holding an integer point; the root for a
// point outside [-W/2, W/2) on any axis.
std::uint32_t PointToCode(const glm::ivec3& point, int worldSize, int depth);
// The smallest node holding both corners floor(c - h) and ceil(c + h); the
// root when either corner is outside the cube or not a finite number.
std::uint32_t BoxToCode(const glm::vec3& centre, const glm::vec3& half, int worldSize, int depth);
// The cube of a node.
Box CodeToBox(std::uint32_t code, int worldSize);
// Number of levels below the root (0 for the root).
int LevelOf(std::uint32_t code);

// Bounds included.
bool SphereTouchesBox(const glm::vec3& centre, float radius, const Box& box);

} // namespace Engine::Octree
