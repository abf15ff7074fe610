#pragma once
#include "engine/net/ChannelRecords.h"
#include "game/arena/HexLayout.h"

#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

// The level record: the arena a host sends its client on channel 0.
//
//   offset  size  field
//        0    12  tile scale (3 x f32)
//       12    24  rows per side (6 x u32)
//       36    24  columns per side (6 x u32)
//       60    24  side offsets (6 x f32)
//       84    72  side centres (6 x 3 x f32)
//      156    12  the host's player position   |  written by the match set-up,
//      168    12  the host's player scale      |  not by the grid
//      180    12  where the host puts the client's player
//      192    12  that copy's scale
//      204  2000  immovable tile numbers (500 x i32, the first n used)
//     2204     4  n (u32)
//     2208     4  palette index (u32)
//
// 2212 bytes, little-endian, no gaps. A record is refused whole when a
// float is not finite or passes 1e6 in size (the arena spans about 150), a
// tile scale is below 1e-6 (or not positive), a player scale is not
// positive, a side has no rows or no columns, the sides hold more than 3000
// tiles, n passes 500, an immovable tile number lies outside the arena, or
// the palette index passes 8.
namespace LevelRecord {

inline constexpr std::size_t kMaxImmovable = 500;
inline constexpr std::uint64_t kMaxTiles = 3000;
inline constexpr std::uint32_t kMaxPaletteIndex = 8;
// The largest size any float of the record may have.
inline constexpr float kMaxMagnitude = 1e6f;
// The smallest tile scale: the grid squares the scale and normalises axes
// of that length, which tinier (subnormal) scales turn into NaN places.
inline constexpr float kMinTileScale = 1e-6f;

struct Players {
    glm::vec3 hostPosition{0.0f};
    glm::vec3 hostScale{0.0f};
    glm::vec3 clientPosition{0.0f};
    glm::vec3 clientScale{0.0f};
};

struct Settings {
    glm::vec3 tileScale{0.0f};
    std::array<std::uint32_t, HexLayout::kSideCount> rows{};
    std::array<std::uint32_t, HexLayout::kSideCount> cols{};
    std::array<float, HexLayout::kSideCount> sideOffset{};
    std::array<glm::vec3, HexLayout::kSideCount> sideCentres{};
    Players players;
    std::vector<std::int32_t> immovableTiles;
    std::uint32_t paletteIndex = 0;
};

// Everything but the players' bytes. Immovable numbers past 500 are not
// written: the record has no room for them.
void WriteArena(Net::LevelRecord& record, const Settings& settings);
void WritePlayers(Net::LevelRecord& record, const Players& players);

// The whole record, checked.
Net::Decoded<Settings> Read(const Net::LevelRecord& record);

} // namespace LevelRecord
