#include "game/arena/HexGrid.h"

#include <algorithm>

std::int32_t PaletteIndex = 0;

HexGrid& HexGrid::GetInstance()
{
    static HexGrid grid;
    return grid;
}

void HexGrid::Reset() { GetInstance() = HexGrid(); }

Engine::EntityHandle HexGrid::Tile(std::uint64_t number) const
{
    return number < tiles.size() ? tiles[number] : Engine::EntityHandle();
}

std::uint64_t HexGrid::PlannedTileCount() const
{
    std::uint64_t count = 0;
    for (int side = 0; side < HexLayout::kSideCount; ++side)
        count += HexLayout::SideTileCount(rows[side], cols[side]);
    return count;
}

// The tiles of a side lie in two lattices, its even columns and its odd
// ones: the farthest of them is a corner of one, in the first or last two
// columns, in the first or last row the column holds.
float HexGrid::Reach() const
{
    float reach = 0.0f;
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        const std::uint32_t sideRows = rows[side];
        const std::uint32_t sideCols = cols[side];
        if (sideRows == 0 || sideCols == 0)
            continue;
        const HexLayout::SideFrame& frame = HexLayout::kSides[side];
        for (const std::uint32_t column : {0u, 1u, sideCols - 2, sideCols - 1}) {
            const std::uint32_t held = column % 2 == 1 ? sideRows - 1 : sideRows;
            if (column >= sideCols || held == 0)
                continue;
            for (const std::uint32_t row : {0u, held - 1}) {
                const glm::vec3 place = HexLayout::TilePosition(sideCentres[side], frame.rowAxis, frame.columnAxis,
                                                                tileScale.x, sideRows, sideCols, column, row);
                reach = std::max(reach, glm::length(place));
            }
        }
    }
    return reach;
}
