#include "game/arena/ArenaRoom.h"
#include "game/arena/HexGrid.h"
#include "game/match/GridCreation.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// The room stands at the tops of the resting tiles: 75 - 40 at the walls,
// 59 - 40 at the ceiling, and at the floor the top of a tile lowered two
// steps of 5.
TEST(ArenaRoom, TheDefaultArenaHoldsItsPlayersInsideTheTopsOfItsTiles)
{
    GridCreation::SetDefaultSettings();
    const ArenaRoom room = ArenaRoom::Of(HexGrid::GetInstance());
    EXPECT_EQ(room.min, glm::vec3(-35.0f, -29.0f, -35.0f));
    EXPECT_EQ(room.max, glm::vec3(35.0f, 19.0f, 35.0f));
    EXPECT_TRUE(room.Contains({34.9f, 18.9f, -34.9f}));
    EXPECT_FALSE(room.Contains({35.1f, 0.0f, 0.0f}));
    EXPECT_FALSE(room.Contains({0.0f, std::numeric_limits<float>::quiet_NaN(), 0.0f}));

    const ArenaRoom held = room.ForBody(glm::vec3(1.0f, 2.0f, 1.0f));
    EXPECT_EQ(held.min, glm::vec3(-34.0f, -27.0f, -34.0f));
    EXPECT_EQ(held.max, glm::vec3(34.0f, 17.0f, 34.0f));
    EXPECT_EQ(held.Clamp({50.0f, -50.0f, 0.0f}), glm::vec3(34.0f, -27.0f, 0.0f));
    const ArenaRoom narrow = room.ForBody(glm::vec3(40.0f, 1.0f, 1.0f));
    EXPECT_EQ(narrow.Clamp({20.0f, 0.0f, 0.0f}).x, 0.0f) << "a body wider than the room keeps to its middle";
}

// The half turn swaps the floor and the ceiling: the nearer of two opposite
// sides bounds both, and a side without tiles bounds nothing.
TEST(ArenaRoom, OppositeSidesBoundTheRoomAboutTheCentreAndAnEmptySideBoundsNothing)
{
    GridCreation::SetDefaultSettings();
    HexGrid& grid = HexGrid::GetInstance();
    grid.sideCentres[3].x = 80.0f;
    grid.sideCentres[4].y = 55.0f;
    grid.rows[2] = 0;
    const ArenaRoom room = ArenaRoom::Of(grid);
    EXPECT_EQ(room.max.x, 35.0f);
    EXPECT_EQ(room.min.x, -35.0f);
    EXPECT_EQ(room.max.y, 15.0f);
    EXPECT_EQ(room.min.y, -25.0f);
    EXPECT_EQ(room.min.z, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(room.max.z, 35.0f);
    GridCreation::SetDefaultSettings();
}

} // namespace
