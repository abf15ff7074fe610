#pragma once
#include <array>
#include <cstdint>
#include <glm/glm.hpp>

// The geometry of the arena's tiling, apart from any entity. The arena is
// the inside of a box; each of its six sides is a field of hexagons laid in
// columns. Even columns hold R tiles and odd ones R - 1, shifted half a step
// along the rows. Within a side, tiles are numbered column by column.
namespace HexLayout {

inline constexpr int kSideCount = 6;

// One side of the box: where it sits, which way its tiles face (inward),
// and the directions its rows and columns step along.
struct SideFrame {
    glm::vec3 centre;
    glm::vec3 up;
    glm::vec3 forward;
    glm::vec3 rowAxis;
    glm::vec3 columnAxis;
};

// A hexagon's inner radius (centre to the middle of a side) for its outer
// radius s.
float InnerRadius(float s);

// How far a tile moves in one height step: twice its z scale.
inline float StepLength(const glm::vec3& tileScale) { return 2.0f * tileScale.z; }

// 0 and 3 the x walls, 1 the floor, 4 the ceiling, 2 and 5 the z walls.
extern const std::array<SideFrame, kSideCount> kSides;

// Tiles of a side with R rows and K columns: ceil(K/2) R + floor(K/2) (R - 1);
// 0 when R is 0.
std::uint64_t SideTileCount(std::uint64_t rows, std::uint64_t cols);

// The number of the tile in column j, row i, counted from the side's first.
std::uint64_t TileIndexInSide(std::uint64_t rows, std::uint64_t column, std::uint64_t row);

// The two outer columns at each end, and the first and last tile of every
// even column.
bool IsEdgeTile(std::uint32_t rows, std::uint32_t cols, std::uint32_t column, std::uint32_t row);

// The centre of the tile in column j, row i of a side whose hexagons have
// outer radius s: neighbours in a column lie 3s apart, the next column is
// shifted 1.5s along the rows and sqrt(3)/2 s across, and the field is
// centred on the side's centre.
glm::vec3 TilePosition(const glm::vec3& centre, const glm::vec3& rowAxis, const glm::vec3& columnAxis, float s,
                       std::uint32_t rows, std::uint32_t cols, std::uint32_t column, std::uint32_t row);

// Where a point lies across a side laid out as TilePosition lays it, in
// tile columns and rows (fractions between tiles): a tile's own centre
// gives back its column and row. The row is taken in the given column, as
// odd columns lie half a step along the rows.
float ColumnAt(const glm::vec3& centre, const glm::vec3& columnAxis, float s, std::uint32_t cols, const glm::vec3& point);
float RowAt(const glm::vec3& centre, const glm::vec3& rowAxis, float s, std::uint32_t rows, std::uint32_t column,
            const glm::vec3& point);

} // namespace HexLayout
