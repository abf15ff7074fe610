// The byte layout is in LevelRecord.h.
#include "game/match/LevelRecord.h"

#include "engine/core/Math.h"
#include "engine/net/ByteCodec.h"

#include <algorithm>
#include <cmath>

namespace LevelRecord {
namespace {

constexpr std::size_t kTileScale = 0;
constexpr std::size_t kRows = 12;
constexpr std::size_t kCols = 36;
constexpr std::size_t kSideOffsets = 60;
constexpr std::size_t kSideCentres = 84;
constexpr std::size_t kHostPosition = 156;
constexpr std::size_t kHostScale = 168;
constexpr std::size_t kClientPosition = 180;
constexpr std::size_t kClientScale = 192;
constexpr std::size_t kImmovable = 204;
constexpr std::size_t kImmovableCount = 2204;
constexpr std::size_t kPaletteIndex = 2208;
static_assert(kPaletteIndex + 4 == Net::kLevelRecordSize);
static_assert(kImmovable + kMaxImmovable * 4 == kImmovableCount);

// A side with K columns holds at least K/2 tiles and one with R rows at
// least R, so larger values cannot fit the tile limit; checking them first
// keeps the count's arithmetic small.
constexpr std::uint32_t kMaxRows = static_cast<std::uint32_t>(kMaxTiles);
constexpr std::uint32_t kMaxCols = static_cast<std::uint32_t>(2 * kMaxTiles);

bool Within(float value) { return std::fabs(value) <= kMaxMagnitude; }
bool Within(const glm::vec3& v) { return Within(v.x) && Within(v.y) && Within(v.z); }

const char* CheckGeometry(const Settings& s)
{
    if (!Engine::Math::IsFinite(s.tileScale))
        return "the tile scale is not a finite number";
    if (s.tileScale.x <= 0.0f || s.tileScale.y <= 0.0f || s.tileScale.z <= 0.0f)
        return "the tile scale is not positive";
    // Finite yet huge, the tiles' spacing (the square of the scale) and
    // their places overflow to infinities and NaNs.
    if (!Within(s.tileScale))
        return "the tile scale passes 1e6";
    if (s.tileScale.x < kMinTileScale || s.tileScale.y < kMinTileScale || s.tileScale.z < kMinTileScale)
        return "the tile scale is below 1e-6";
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        if (!std::isfinite(s.sideOffset[side]) || !Engine::Math::IsFinite(s.sideCentres[side]))
            return "a side offset or centre is not a finite number";
        if (!Within(s.sideOffset[side]) || !Within(s.sideCentres[side]))
            return "a side offset or centre passes 1e6";
    }
    const Players& p = s.players;
    if (!Engine::Math::IsFinite(p.hostPosition) || !Engine::Math::IsFinite(p.hostScale) || !Engine::Math::IsFinite(p.clientPosition) || !Engine::Math::IsFinite(p.clientScale))
        return "a player position or scale is not a finite number";
    if (!Within(p.hostPosition) || !Within(p.hostScale) || !Within(p.clientPosition) || !Within(p.clientScale))
        return "a player position or scale passes 1e6";
    // A player of no size, or turned inside out, has no body to stand or be
    // hit with.
    for (const glm::vec3& scale : {p.hostScale, p.clientScale})
        if (scale.x <= 0.0f || scale.y <= 0.0f || scale.z <= 0.0f)
            return "a player scale is not positive";
    return nullptr;
}

const char* CheckTiles(const Settings& s)
{
    std::uint64_t tiles = 0;
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        if (s.rows[side] == 0 || s.cols[side] == 0)
            return "a side has no rows or no columns";
        if (s.rows[side] > kMaxRows || s.cols[side] > kMaxCols)
            return "the arena holds more than 3000 tiles";
        tiles += HexLayout::SideTileCount(s.rows[side], s.cols[side]);
    }
    if (tiles > kMaxTiles)
        return "the arena holds more than 3000 tiles";
    const bool inside = std::all_of(s.immovableTiles.begin(), s.immovableTiles.end(), [tiles](std::int32_t number) {
        return number >= 0 && static_cast<std::uint64_t>(number) < tiles;
    });
    if (!inside)
        return "an immovable tile number lies outside the arena";
    return nullptr;
}

} // namespace

void WriteArena(Net::LevelRecord& record, const Settings& settings)
{
    const std::span<std::uint8_t> bytes(record);
    Net::Wire::WriteVec3(bytes, kTileScale, settings.tileScale);
    for (std::size_t side = 0; side < HexLayout::kSideCount; ++side) {
        Net::Wire::WriteU32(bytes, kRows + 4 * side, settings.rows[side]);
        Net::Wire::WriteU32(bytes, kCols + 4 * side, settings.cols[side]);
        Net::Wire::WriteF32(bytes, kSideOffsets + 4 * side, settings.sideOffset[side]);
        Net::Wire::WriteVec3(bytes, kSideCentres + 12 * side, settings.sideCentres[side]);
    }
    const std::size_t count = std::min(settings.immovableTiles.size(), kMaxImmovable);
    for (std::size_t i = 0; i < kMaxImmovable; ++i)
        Net::Wire::WriteI32(bytes, kImmovable + 4 * i, i < count ? settings.immovableTiles[i] : 0);
    Net::Wire::WriteU32(bytes, kImmovableCount, static_cast<std::uint32_t>(count));
    Net::Wire::WriteU32(bytes, kPaletteIndex, settings.paletteIndex);
}

void WritePlayers(Net::LevelRecord& record, const Players& players)
{
    const std::span<std::uint8_t> bytes(record);
    Net::Wire::WriteVec3(bytes, kHostPosition, players.hostPosition);
    Net::Wire::WriteVec3(bytes, kHostScale, players.hostScale);
    Net::Wire::WriteVec3(bytes, kClientPosition, players.clientPosition);
    Net::Wire::WriteVec3(bytes, kClientScale, players.clientScale);
}

Net::Decoded<Settings> Read(const Net::LevelRecord& record)
{
    const std::span<const std::uint8_t> bytes(record);
    Net::Decoded<Settings> decoded;
    Settings& s = decoded.record;
    s.tileScale = Net::Wire::ReadVec3(bytes, kTileScale);
    for (std::size_t side = 0; side < HexLayout::kSideCount; ++side) {
        s.rows[side] = Net::Wire::ReadU32(bytes, kRows + 4 * side);
        s.cols[side] = Net::Wire::ReadU32(bytes, kCols + 4 * side);
        s.sideOffset[side] = Net::Wire::ReadF32(bytes, kSideOffsets + 4 * side);
        s.sideCentres[side] = Net::Wire::ReadVec3(bytes, kSideCentres + 12 * side);
    }
    s.players = {Net::Wire::ReadVec3(bytes, kHostPosition), Net::Wire::ReadVec3(bytes, kHostScale),
                 Net::Wire::ReadVec3(bytes, kClientPosition), Net::Wire::ReadVec3(bytes, kClientScale)};
    s.paletteIndex = Net::Wire::ReadU32(bytes, kPaletteIndex);
    const std::uint32_t count = Net::Wire::ReadU32(bytes, kImmovableCount);
    if (count > kMaxImmovable) {
        decoded.problem = "more than 500 immovable tiles";
        return decoded;
    }
    for (std::uint32_t i = 0; i < count; ++i)
        s.immovableTiles.push_back(Net::Wire::ReadI32(bytes, kImmovable + 4 * i));
    if (s.paletteIndex > kMaxPaletteIndex)
        decoded.problem = "the palette index passes 8";
    else if (const char* problem = CheckGeometry(s))
        decoded.problem = problem;
    else if (const char* tiles = CheckTiles(s))
        decoded.problem = tiles;
    return decoded;
}

} // namespace LevelRecord
