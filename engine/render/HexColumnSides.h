#pragma once
#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <span>
#include <vector>

namespace Engine {

// The floor is a field of hexagonal columns (HexagonMesh: radius 1, y from
// -1 to +1, side k facing the angle (k + 1/2) 60 degrees) standing side by
// side, each 80 units long. Where a neighbour lies against a side, that part
// of the side is inside the field: nothing can see it from anywhere, yet the
// software renderer rasterises and depth-tests every pixel of it, and those
// long hidden strips cost more than the whole visible floor. The instanced
// vertex program moves the ends of each side to keep only what may show.
//
// One 16-bit code per column and side tells it how much to keep:
//
//   code            kept part of the side, in the column's own y
//   0               all of it, from -1 to +1
//   1 .. 32768      from b = -1 + 2 (code - 1) / 32767 up to +1
//   32769 .. 65535  from -1 up to t = -1 + 2 (code - 32769) / 32766
//
// Codes of sides 2w and 2w + 1 share 32-bit word w, side 2w in the low
// half. A code keeps a little more than it must: the rounding is
// conservative and the kept part reaches kOverlap past the neighbour's end,
// so the side and the neighbour's cap overlap instead of leaving a crack.
using SideCodes = std::array<std::uint32_t, 3>;

class HexColumnSides {
public:
    static constexpr int kSides = 6;
    // In the column's own units (its half length is 1).
    static constexpr float kOverlap = 0.002f;

    // Codes for every column from its world matrix, in the same order. Only
    // the columns whose matrix changed since the last update, and those
    // beside them, are worked out again. Neighbours are found again whenever
    // the number of columns changes; a neighbour that has moved off its
    // place, turned, or changed its size hides nothing.
    void Update(std::span<const glm::mat4> columns);
    const std::vector<SideCodes>& Codes() const { return mCodes; }

    static std::uint16_t KeepFrom(float bottom);
    static std::uint16_t KeepUpTo(float top);
    static std::uint16_t Code(const SideCodes& codes, int side);

    // A column's axes, place and size, worked out once per update.
    struct Frame {
        glm::vec3 x{0.0f}, y{0.0f}, z{0.0f}, origin{0.0f};
        float xx = 0.0f, yy = 0.0f, zz = 0.0f;
        // False for a vanished instance (zero matrix) or a sheared one,
        // whose sides line up with nothing.
        bool usable = false;
    };

private:
    void Link();
    void Recode(std::size_t column);

    // The matrices of the last update and what was worked out from them.
    std::vector<glm::mat4> mColumns;
    std::vector<Frame> mFrames;
    // Per column, the neighbour across each side (-1 for none), and the
    // columns that have it as a neighbour.
    std::vector<std::array<std::int32_t, kSides>> mNeighbours;
    std::vector<std::vector<std::int32_t>> mReferrers;
    std::vector<SideCodes> mCodes;
    std::vector<std::uint8_t> mStale;
};

} // namespace Engine
