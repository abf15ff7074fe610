#include "game/arena/HexGrid.h"

std::int32_t PaletteIndex = 0;

HexGrid& HexGrid::GetInstance()
{
    static HexGrid grid;
    return grid;
}

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
