#include "engine/net/ByteCodec.h"
#include "game/arena/HexGrid.h"
#include "game/match/GridCreation.h"
#include "game/match/LevelRecord.h"
#include "support/CapturedOutput.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A host's record of the default arena with a few immovable tiles.
Net::LevelRecord HostRecord()
{
    GridCreation::SetDefaultSettings();
    HexGrid& grid = HexGrid::GetInstance();
    grid.immovableTiles = {0, 5, 1369};
    grid.sideCentres[2] = {1.0f, -2.0f, -70.5f};
    grid.sideOffset[4] = 0.25f;
    PaletteIndex = 7;
    Net::LevelRecord record{};
    GridCreation::CopySettings(record);
    LevelRecord::WritePlayers(record, {{1, 2, 3}, {4, 5, 6}, {3, 0, 50}, {0.8f, 1.6f, 0.8f}});
    return record;
}

TEST(LevelRecord, TheClientBuildsFromWhatTheHostSent)
{
    const Net::LevelRecord record = HostRecord();
    HexGrid& grid = HexGrid::GetInstance();
    GridCreation::SetDefaultSettings();
    grid.rows.fill(4);
    PaletteIndex = 0;

    ASSERT_TRUE(GridCreation::ApplyLevelSettings(record));
    EXPECT_EQ(grid.rows, HexGrid::SideValues({10, 10, 10, 10, 10, 10}));
    EXPECT_EQ(grid.cols, HexGrid::SideValues({19, 34, 19, 19, 34, 19}));
    EXPECT_EQ(grid.tileScale, glm::vec3(2.5f, 40.0f, 2.5f));
    EXPECT_EQ(grid.sideCentres[2], glm::vec3(1.0f, -2.0f, -70.5f));
    EXPECT_EQ(grid.sideOffset[4], 0.25f);
    EXPECT_EQ(grid.immovableTiles, (std::vector<std::int32_t>{0, 5, 1369}));
    EXPECT_EQ(PaletteIndex, 7);

    const auto read = LevelRecord::Read(record);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.record.players.hostPosition, glm::vec3(1, 2, 3));
    EXPECT_EQ(read.record.players.hostScale, glm::vec3(4, 5, 6));
    EXPECT_EQ(read.record.players.clientPosition, glm::vec3(3, 0, 50));
    EXPECT_EQ(read.record.players.clientScale, glm::vec3(0.8f, 1.6f, 0.8f));
}

TEST(LevelRecord, NoImmovableTilesEmptiesTheListAndTakesThePalette)
{
    HexGrid& grid = HexGrid::GetInstance();
    GridCreation::SetDefaultSettings();
    Net::LevelRecord record{};
    PaletteIndex = 2;
    GridCreation::CopySettings(record);
    LevelRecord::WritePlayers(record, {{}, glm::vec3(1.0f), {}, glm::vec3(1.0f)});
    grid.immovableTiles = {3, 4};
    PaletteIndex = 6;
    ASSERT_TRUE(GridCreation::ApplyLevelSettings(record));
    EXPECT_TRUE(grid.immovableTiles.empty());
    EXPECT_EQ(PaletteIndex, 2);
}

TEST(LevelRecord, AHostileRecordIsRefusedWholeAndSaysWhy)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    using Edit = std::function<void(std::span<std::uint8_t>)>;
    struct Case {
        const char* what;
        Edit edit;
        const char* message;
    };
    const Case cases[] = {
        {"501 immovable tiles", [](auto b) { Net::Wire::WriteU32(b, 2204, 501); }, "more than 500 immovable"},
        {"count near 2^32", [](auto b) { Net::Wire::WriteU32(b, 2204, 0xFFFFFFF0u); }, "more than 500 immovable"},
        {"palette 9", [](auto b) { Net::Wire::WriteU32(b, 2208, 9); }, "palette index"},
        {"no rows", [](auto b) { Net::Wire::WriteU32(b, 12 + 8, 0); }, "no rows or no columns"},
        {"no columns", [](auto b) { Net::Wire::WriteU32(b, 36, 0); }, "no rows or no columns"},
        {"huge side", [](auto b) { Net::Wire::WriteU32(b, 12, 0xFFFFFFFFu); }, "more than 3000 tiles"},
        {"3001 tiles", [](auto b) { Net::Wire::WriteU32(b, 36 + 4, 2000); }, "more than 3000 tiles"},
        {"tile past the arena", [](auto b) { Net::Wire::WriteI32(b, 204 + 4, 1370); }, "outside the arena"},
        {"negative tile", [](auto b) { Net::Wire::WriteI32(b, 204, -1); }, "outside the arena"},
        {"NaN scale", [nan](auto b) { Net::Wire::WriteF32(b, 4, nan); }, "tile scale is not a finite"},
        {"zero scale", [](auto b) { Net::Wire::WriteF32(b, 0, 0.0f); }, "tile scale is not positive"},
        {"infinite centre", [infinity](auto b) { Net::Wire::WriteF32(b, 84 + 40, infinity); }, "side offset or centre"},
        {"NaN offset", [nan](auto b) { Net::Wire::WriteF32(b, 60, nan); }, "side offset or centre"},
        {"NaN player", [nan](auto b) { Net::Wire::WriteF32(b, 200, nan); }, "player position or scale"},
        {"flat host", [](auto b) { Net::Wire::WriteF32(b, 168 + 4, 0.0f); }, "player scale is not positive"},
        {"inside-out client", [](auto b) { Net::Wire::WriteF32(b, 192, -1.0f); }, "player scale is not positive"},
        // Finite, but the tiles' spacing and places would overflow.
        {"huge scale", [](auto b) { Net::Wire::WriteF32(b, 0, 1e20f); }, "tile scale passes 1e6"},
        // Positive, but squared or normalised it gives NaN tile places.
        {"subnormal scale", [](auto b) { Net::Wire::WriteF32(b, 8, 3e-39f); }, "tile scale is below 1e-6"},
        {"tiny scale", [](auto b) { Net::Wire::WriteF32(b, 0, 1e-7f); }, "tile scale is below 1e-6"},
        {"far centre", [](auto b) { Net::Wire::WriteF32(b, 84 + 12, -3e38f); }, "side offset or centre passes"},
        {"far player", [](auto b) { Net::Wire::WriteF32(b, 160, 2e6f); }, "player position or scale passes"},
    };
    for (const Case& c : cases) {
        Net::LevelRecord record = HostRecord();
        c.edit(std::span<std::uint8_t>(record));
        HexGrid& grid = HexGrid::GetInstance();
        grid.immovableTiles = {77};
        PaletteIndex = 1;
        bool applied = true;
        const std::string said = StderrOf([&] { applied = GridCreation::ApplyLevelSettings(record); });
        EXPECT_FALSE(applied) << c.what;
        EXPECT_NE(said.find("Level record refused"), std::string::npos) << c.what;
        EXPECT_NE(said.find(c.message), std::string::npos) << c.what << ": " << said;
        EXPECT_EQ(grid.immovableTiles, std::vector<std::int32_t>{77}) << c.what << " changed the grid";
        EXPECT_EQ(PaletteIndex, 1) << c.what;
    }
}

} // namespace
