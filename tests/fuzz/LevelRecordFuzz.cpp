// The level record a host sends its client, read as the client's grid
// creation reads it.
//
// Input: the record's 2212 bytes (a shorter input is padded with zeros, a
// longer one cut). Beyond not crashing: a record that is taken writes back
// to one that reads the same, and every tile the client would build from it
// has a finite place.
#include "FuzzSupport.h"

#include "game/arena/HexLayout.h"
#include "game/match/LevelRecord.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool Finite(const glm::vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool SameSettings(const LevelRecord::Settings& a, const LevelRecord::Settings& b)
{
    const LevelRecord::Players& p = a.players;
    const LevelRecord::Players& q = b.players;
    return a.tileScale == b.tileScale && a.rows == b.rows && a.cols == b.cols && a.sideOffset == b.sideOffset
        && a.sideCentres == b.sideCentres && p.hostPosition == q.hostPosition && p.hostScale == q.hostScale
        && p.clientPosition == q.clientPosition && p.clientScale == q.clientScale
        && a.immovableTiles == b.immovableTiles && a.paletteIndex == b.paletteIndex;
}

// The places the grid gives the tiles of each side, with the axes it
// derives from the tile scale.
void CheckTilePlaces(const LevelRecord::Settings& settings)
{
    const glm::vec3 scale = settings.tileScale;
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        const HexLayout::SideFrame& frame = HexLayout::kSides[side];
        const glm::vec3 rowAxis = glm::normalize(frame.rowAxis) * 2.0f * scale.x;
        const glm::vec3 columnAxis = glm::normalize(frame.columnAxis) * 2.0f * scale.z;
        const std::uint32_t rows = settings.rows[side];
        const std::uint32_t cols = settings.cols[side];
        for (std::uint32_t j = 0; j < cols; ++j) {
            for (std::uint32_t i = 0; i < rows; ++i) {
                const glm::vec3 place = HexLayout::TilePosition(settings.sideCentres[side], rowAxis, columnAxis,
                                                                scale.x, rows, cols, j, i);
                Fuzz::Require(Finite(place), "every tile of a taken record has a finite place");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Net::LevelRecord record{};
    std::memcpy(record.data(), data, std::min(size, record.size()));
    const Net::Decoded<LevelRecord::Settings> decoded = LevelRecord::Read(record);
    if (!decoded)
        return 0;

    Net::LevelRecord again{};
    LevelRecord::WriteArena(again, decoded.record);
    LevelRecord::WritePlayers(again, decoded.record.players);
    const Net::Decoded<LevelRecord::Settings> reread = LevelRecord::Read(again);
    Fuzz::Require(static_cast<bool>(reread), "a taken record writes back to one that is taken");
    Fuzz::Require(SameSettings(reread.record, decoded.record), "a taken record writes back to the same settings");
    CheckTilePlaces(decoded.record);
    return 0;
}
