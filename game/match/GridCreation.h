#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/net/ChannelRecords.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <string>
#include <vector>

// Builds the arena of HexGrid and works on it.
namespace GridCreation {

// The name the arena's tiles are loaded from.
inline constexpr const char* kTileArchetype = "tile";

// The default settings (10 rows per side, 19 or 34 columns, tiles of scale
// (2.5, 40, 2.5)), the "Tile" collision tag, which tiles ignore among
// themselves, and six empty edge lists.
void SetDefaultSettings();

// Builds the whole arena from the settings: picks the palette (a client
// keeps the host's), makes the tile archetype, clears the old arena, makes
// the six sides and every tile, numbers them and draws them as one
// instanced floor. Sets the network's tile count to the tiles made.
void CreateGrid();

// Queues the destruction of every tile, side and the floor, and empties the
// lists; nothing when there are no tiles.
void ClearGrid();

// Six side entities with a transform each.
void InitSideSlots();

// What one side's tiles need from the tile archetype: the tile size s (its
// x scale), the tiles' up and forward, and the row and column axes (lengths
// 2 sx and 2 sz).
struct SideAxes {
    float tileSize = 0.0f;
    glm::vec3 up{0.0f};
    glm::vec3 forward{0.0f};
    glm::vec3 rowAxis{0.0f};
    glm::vec3 columnAxis{0.0f};
};
SideAxes ComputeSideAxes(int side, const std::string& archetype);

// The tiles of one side, parented to its entity, numbered after the tiles
// already in the grid; the side's edge list is refilled. Stops early, with a
// message, when no entity is free.
std::vector<Engine::EntityHandle> CreateTiles(std::uint32_t rows, std::uint32_t cols, float offset,
                                              const glm::vec3& centre, int side, const std::string& archetype,
                                              Engine::EntityHandle sideEntity);

// A tile away from the edges of a random side (never the two outer columns
// at either end, the first row or the last rows); the null handle when no
// side is large enough or the arena is not built.
Engine::EntityHandle RandomTile();

void RotateSide(int side, const glm::vec3& axis, float angle);

// The host's settings, immovable tiles and palette into the level record;
// bytes 156 to 203 (the players) are left as they are.
void CopySettings(Net::LevelRecord& record);
// The client's side: the record is checked whole first; a bad one changes
// nothing, prints what was wrong and gives false.
bool ApplyLevelSettings(const Net::LevelRecord& record);

} // namespace GridCreation
