#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/HexLayout.h"

#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

// The arena: its settings, its tiles (a tile's place in `tiles` is its tile
// number), the six side entities that carry them, and the special tiles.
// One record for the whole run; the settings come from the defaults or from
// the host's level record, the tiles from every CreateGrid.
struct HexGrid {
    static HexGrid& GetInstance();
    // Back to the record a new run starts with: no settings, no tiles.
    static void Reset();

    struct Frame {
        glm::vec3 forward{0.0f};
        glm::vec3 up{0.0f};
        glm::vec3 right{0.0f};
    };
    using SideValues = std::array<std::uint32_t, HexLayout::kSideCount>;

    std::vector<Engine::EntityHandle> tiles;
    std::vector<Engine::EntityHandle> sides;
    std::vector<Frame> sideFrames;
    SideValues rows{};
    SideValues cols{};
    // Carried in the settings and the level record; tile placement ignores it.
    std::array<float, HexLayout::kSideCount> sideOffset{};
    std::array<glm::vec3, HexLayout::kSideCount> sideCentres{};
    glm::vec3 tileScale{0.0f};
    std::vector<std::int32_t> immovableTiles;
    std::array<std::vector<std::int32_t>, HexLayout::kSideCount> edgeTiles;
    // The number of the tile that carries the goal-tile marker; -1 for none.
    // Not part of the level record.
    std::int32_t goalTile = -1;
    // The entity that draws every tile in one instanced draw.
    Engine::EntityHandle floor;

    // The tile of a number, or the null handle outside the list.
    Engine::EntityHandle Tile(std::uint64_t number) const;
    // The tiles the settings make: the sum over the sides.
    std::uint64_t PlannedTileCount() const;
    // How far from the arena's middle (the sides' common place) the
    // farthest tile the settings make stands at rest.
    float Reach() const;

private:
    HexGrid() = default;
};

// The index (0 to 8) of the arena palette in use.
extern std::int32_t PaletteIndex;
