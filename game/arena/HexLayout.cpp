#include "game/arena/HexLayout.h"

#include <cmath>

namespace HexLayout {

const std::array<SideFrame, kSideCount> kSides = {{
    {{-75.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}},
    {{0.0f, -59.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}},
    {{0.0f, 0.0f, -75.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}},
    {{75.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}},
    {{0.0f, 59.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}},
    {{0.0f, 0.0f, 75.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, -1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}},
}};

std::uint64_t SideTileCount(std::uint64_t rows, std::uint64_t cols)
{
    if (rows == 0)
        return 0;
    return (cols + 1) / 2 * rows + cols / 2 * (rows - 1);
}

std::uint64_t TileIndexInSide(std::uint64_t rows, std::uint64_t column, std::uint64_t row)
{
    return column / 2 * (rows - 1) + (column + 1) / 2 * rows + row;
}

bool IsEdgeTile(std::uint32_t rows, std::uint32_t cols, std::uint32_t column, std::uint32_t row)
{
    if (column < 2 || column + 2 >= cols)
        return true;
    return column % 2 == 0 && (row == 0 || row + 1 == rows);
}

float InnerRadius(float s) { return std::sqrt(s * s - s * s / 4.0f); }

glm::vec3 TilePosition(const glm::vec3& centre, const glm::vec3& rowAxis, const glm::vec3& columnAxis, float s,
                       std::uint32_t rows, std::uint32_t cols, std::uint32_t column, std::uint32_t row)
{
    const float inner = InnerRadius(s);
    const glm::vec3 u = glm::normalize(columnAxis) * inner;
    const glm::vec3 v = glm::normalize(rowAxis) * s;
    const float r = static_cast<float>(rows);
    const float k = static_cast<float>(cols);
    const glm::vec3 start = centre - u * (k + 1.0f) / 2.0f - (v + (r - 1.0f) * v * 1.5f);
    const glm::vec3 shift = column % 2 == 1 ? v * 1.5f : glm::vec3(0.0f);
    return start + v * (1.0f + 3.0f * static_cast<float>(row)) + shift + u * static_cast<float>(column + 1);
}

// TilePosition read backwards: the columns step `inner` along the column
// axis from the field's first, the rows 3s along the row axis.
float ColumnAt(const glm::vec3& centre, const glm::vec3& columnAxis, float s, std::uint32_t cols, const glm::vec3& point)
{
    const float along = glm::dot(point - centre, glm::normalize(columnAxis));
    return along / InnerRadius(s) + (static_cast<float>(cols) + 1.0f) / 2.0f - 1.0f;
}

float RowAt(const glm::vec3& centre, const glm::vec3& rowAxis, float s, std::uint32_t rows, std::uint32_t column,
            const glm::vec3& point)
{
    const float along = glm::dot(point - centre, glm::normalize(rowAxis)) / s;
    const float shift = column % 2 == 1 ? 1.5f : 0.0f;
    return (along + 1.5f * (static_cast<float>(rows) - 1.0f) - shift) / 3.0f;
}

} // namespace HexLayout
