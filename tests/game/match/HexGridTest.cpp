#include "ArenaFixture.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/net/NetworkMgr.h"
#include "game/arena/HexLayout.h"
#include "game/arena/Palette.h"
#include "game/components/tile/TileLogicComponent.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

constexpr float kRadius = 2.5f;

TEST(HexLayout, TileCountsFollowTheColumns)
{
    struct Case {
        std::uint64_t rows, cols, tiles;
    };
    for (const Case& c : {Case{10, 19, 181}, Case{10, 34, 323}, Case{1, 1, 1}, Case{3, 2, 5}, Case{0, 5, 0},
                          Case{2, 7, 11}}) {
        EXPECT_EQ(HexLayout::SideTileCount(c.rows, c.cols), c.tiles) << c.rows << " x " << c.cols;
    }
    // Numbers run column by column: even columns R tiles, odd ones R - 1.
    EXPECT_EQ(HexLayout::TileIndexInSide(10, 0, 9), 9u);
    EXPECT_EQ(HexLayout::TileIndexInSide(10, 1, 0), 10u);
    EXPECT_EQ(HexLayout::TileIndexInSide(10, 2, 0), 19u);
    EXPECT_EQ(HexLayout::TileIndexInSide(10, 33, 8), 322u);
}

// Read backwards, a tile's centre gives its column and row, and a point
// between tiles lies between their columns and rows.
TEST(HexLayout, APlaceAcrossASideGivesBackItsColumnAndRow)
{
    for (int side : {1, 3}) {
        const HexLayout::SideFrame& frame = HexLayout::kSides[side];
        for (std::uint32_t column : {0u, 1u, 7u, 18u}) {
            for (std::uint32_t row : {0u, 4u, 8u}) {
                const glm::vec3 at = HexLayout::TilePosition(frame.centre, frame.rowAxis, frame.columnAxis, kRadius,
                                                             10, 19, column, row) + frame.up * 7.0f;
                EXPECT_NEAR(HexLayout::ColumnAt(frame.centre, frame.columnAxis, kRadius, 19, at), column, 1e-4f);
                EXPECT_NEAR(HexLayout::RowAt(frame.centre, frame.rowAxis, kRadius, 10, column, at), row, 1e-4f);
            }
        }
        const glm::vec3 between = (HexLayout::TilePosition(frame.centre, frame.rowAxis, frame.columnAxis, kRadius, 10,
                                                           19, 2, 3) +
                                   HexLayout::TilePosition(frame.centre, frame.rowAxis, frame.columnAxis, kRadius, 10,
                                                           19, 2, 4)) * 0.5f;
        EXPECT_NEAR(HexLayout::RowAt(frame.centre, frame.rowAxis, kRadius, 10, 2, between), 3.5f, 1e-4f);
    }
}

// Where a tile number lies: side, column and row.
struct Place {
    int side;
    std::uint32_t column, row;
};

Place Locate(std::uint64_t number)
{
    const HexGrid& grid = HexGrid::GetInstance();
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        const std::uint64_t count = HexLayout::SideTileCount(grid.rows[side], grid.cols[side]);
        if (number >= count) {
            number -= count;
            continue;
        }
        for (std::uint32_t j = 0;; ++j) {
            const std::uint32_t inColumn = j % 2 == 0 ? grid.rows[side] : grid.rows[side] - 1;
            if (number < inColumn)
                return {side, j, static_cast<std::uint32_t>(number)};
            number -= inColumn;
        }
    }
    return {-1, 0, 0};
}

using Arena = ArenaFixture;

TEST_F(Arena, SixSidesHold1370TilesNumberedInOrderAndNamed)
{
    StderrOf([] { BuildArena(); });
    ASSERT_EQ(Grid().tiles.size(), 1370u);
    EXPECT_EQ(Grid().PlannedTileCount(), 1370u);
    EXPECT_EQ(NetworkMgr::GetInstance().tile_count, 1370u);
    ASSERT_EQ(Grid().sides.size(), 6u);
    ASSERT_EQ(Grid().sideFrames.size(), 6u);
    for (std::size_t i = 0; i < Grid().tiles.size(); i += 97) {
        const Engine::EntityHandle tile = Grid().tiles[i];
        EXPECT_EQ(Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile)->mTileNumber, i);
        EXPECT_EQ(std::string(Engine::EntityNameCompManager::GetInstance().GetName(tile)), "Tile_" + std::to_string(i));
        const Place place = Locate(i);
        EXPECT_EQ(Engine::Transform::GetParent(tile), Grid().sides[place.side]);
        EXPECT_EQ(*Engine::Transform::UpPtr(tile), HexLayout::kSides[place.side].up);
    }
}

// The grid's reach, found from its settings alone, is where its farthest
// tile stands: on the default arena, and on one whose sides sit off their
// middles, where the farthest tile is in an odd column.
TEST_F(Arena, TheFarthestTileStandsAtTheGridsReach)
{
    StderrOf([] { BuildArena(); });
    for (const bool moved : {false, true}) {
        if (moved) {
            Grid().rows.fill(3);
            Grid().cols.fill(4);
            for (int side = 0; side < HexLayout::kSideCount; ++side)
                Grid().sideCentres[side] += glm::normalize(HexLayout::kSides[side].columnAxis) * 10.0f;
            StderrOf([] { GridCreation::CreateGrid(); });
        }
        float farthest = 0.0f;
        for (const Engine::EntityHandle& tile : Grid().tiles)
            farthest = std::max(farthest, glm::length(Engine::Transform::GetWorldPosition(tile)));
        EXPECT_NEAR(Grid().Reach(), farthest, 1e-3f) << (moved ? "moved sides" : "the default arena");
    }
}

TEST_F(Arena, NoPrototypeOrProbeOutlivesTheBuild)
{
    StderrOf([] { BuildArena(); });
    EXPECT_EQ(Engine::EntityTagCompManager::GetInstance().FindEntitiesWithTag("Tile").size(), 1370u);
    EXPECT_EQ(Engine::SpatialCollisionMgr::GetInstance().Count(), 1370u);
    Engine::EntityMgr::GetInstance().Flush();
    EXPECT_EQ(Engine::EntityMgr::GetInstance().GetCount(), 1370u + 6u + 1u) << "tiles, sides and the floor";
}

TEST_F(Arena, NeighboursStandRootThreeRadiiApartAndNeverOverlap)
{
    StderrOf([] { BuildArena(); });
    const float neighbour = std::sqrt(3.0f) * kRadius;
    std::vector<std::vector<glm::vec3>> sides(6);
    for (std::size_t i = 0; i < Grid().tiles.size(); ++i)
        sides[Locate(i).side].push_back(Engine::Transform::GetWorldPosition(Grid().tiles[i]));
    for (int side = 0; side < 6; ++side) {
        const std::vector<glm::vec3>& tiles = sides[side];
        for (std::size_t a = 0; a < tiles.size(); ++a) {
            float nearest = 1e9f;
            for (std::size_t b = 0; b < tiles.size(); ++b)
                if (a != b)
                    nearest = std::min(nearest, glm::distance(tiles[a], tiles[b]));
            ASSERT_NEAR(nearest, neighbour, 1e-3f) << "side " << side << " tile " << a;
        }
        // In a column the tiles are 3 radii apart; the field is centred.
        EXPECT_NEAR(glm::distance(tiles[0], tiles[1]), 3.0f * kRadius, 1e-3f);
        glm::vec3 centre(0.0f);
        for (const glm::vec3& p : tiles)
            centre += p / static_cast<float>(tiles.size());
        EXPECT_LT(glm::distance(centre, HexLayout::kSides[side].centre), 1.0f) << "side " << side;
    }
}

TEST_F(Arena, EdgeListsHoldTheBorderAscending)
{
    StderrOf([] { BuildArena(); });
    std::size_t total = 0;
    for (int side = 0; side < 6; ++side) {
        const std::vector<std::int32_t>& edges = Grid().edgeTiles[side];
        EXPECT_TRUE(std::is_sorted(edges.begin(), edges.end()));
        EXPECT_EQ(std::set<std::int32_t>(edges.begin(), edges.end()).size(), edges.size());
        for (std::int32_t number : edges) {
            const Place place = Locate(static_cast<std::uint64_t>(number));
            EXPECT_EQ(place.side, side);
            EXPECT_TRUE(HexLayout::IsEdgeTile(Grid().rows[side], Grid().cols[side], place.column, place.row));
        }
        total += edges.size();
    }
    // Four whole columns and two tiles of every other even column per side.
    EXPECT_EQ(total, 4u * (38 + 8 * 2) + 2u * (38 + 15 * 2));
    EXPECT_EQ(Grid().immovableTiles.size(), total) << "the border became immovable";
}

TEST_F(Arena, RandomTilesStayOffTheEdgesOfEverySide)
{
    StderrOf([] { BuildArena(); });
    Engine::Random::SeedWith(11);
    std::set<int> sidesSeen;
    for (int pick = 0; pick < 3000; ++pick) {
        const Engine::EntityHandle tile = GridCreation::RandomTile();
        ASSERT_FALSE(tile.IsNull());
        const Place place = Locate(Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile)->mTileNumber);
        const std::uint32_t cols = Grid().cols[place.side];
        const std::uint32_t rows = Grid().rows[place.side];
        ASSERT_GE(place.column, 2u);
        ASSERT_LE(place.column, cols - 3);
        ASSERT_GE(place.row, 1u);
        ASSERT_LE(place.row, rows - 3);
        sidesSeen.insert(place.side);
    }
    EXPECT_EQ(sidesSeen.size(), 6u);

    // Sides too small for the rule give no tile rather than one off the list.
    Grid().rows.fill(3);
    for (int pick = 0; pick < 20; ++pick)
        EXPECT_TRUE(GridCreation::RandomTile().IsNull());
}

TEST_F(Arena, ClearingQueuesEveryTileAndLeavesAnEmptyGridAlone)
{
    GridCreation::SetDefaultSettings();
    Grid().tiles.clear();
    GridCreation::InitSideSlots();
    const std::vector<Engine::EntityHandle> sides = Grid().sides;
    GridCreation::ClearGrid();
    EXPECT_EQ(Grid().sides, sides) << "no tiles: the sides stay";

    StderrOf([] { BuildArena(); });
    const std::vector<Engine::EntityHandle> tiles = Grid().tiles;
    const Engine::EntityHandle floor = Grid().floor;
    GridCreation::ClearGrid();
    EXPECT_TRUE(Grid().tiles.empty());
    EXPECT_TRUE(Grid().sides.empty());
    EXPECT_TRUE(Grid().floor.IsNull());
    Engine::EntityMgr::GetInstance().Flush();
    EXPECT_FALSE(tiles.front().IsValid());
    EXPECT_FALSE(tiles.back().IsValid());
    EXPECT_FALSE(floor.IsValid()) << "the floor's instanced draw goes with its tiles";
}

TEST_F(Arena, TurningASideTurnsItsTiles)
{
    StderrOf([] { BuildArena(); });
    const Engine::EntityHandle tile = Grid().tiles[181 + 5]; // a floor tile
    const glm::vec3 before = Engine::Transform::GetWorldPosition(tile);
    GridCreation::RotateSide(1, {0.0f, 0.0f, 1.0f}, 3.14159265f);
    const glm::vec3 after = Engine::Transform::GetWorldPosition(tile);
    EXPECT_NEAR(after.x, -before.x, 1e-3f);
    EXPECT_NEAR(after.y, -before.y, 1e-3f);
    EXPECT_NEAR(after.z, before.z, 1e-3f);
}

TEST_F(Arena, AHostPicksTheArenaPaletteAndAClientKeepsTheHosts)
{
    Engine::Random::SeedWith(3);
    StderrOf([] { BuildArena(); });
    EXPECT_GE(PaletteIndex, 0);
    EXPECT_LE(PaletteIndex, 8);
    Palette expected;
    ASSERT_TRUE(expected.LoadFromFile(kArenaPaletteFiles[PaletteIndex]));
    EXPECT_EQ(CurrentPalette.values, expected.values);

    NetworkMgr& network = NetworkMgr::GetInstance();
    network.connected = 1;
    network.server = 0;
    PaletteIndex = 4;
    StderrOf([] { BuildArena(); });
    EXPECT_EQ(PaletteIndex, 4);
    ASSERT_TRUE(expected.LoadFromFile(kArenaPaletteFiles[4]));
    EXPECT_EQ(CurrentPalette.values, expected.values);

    // An index no level record could bring keeps the palette in use.
    PaletteIndex = 12;
    const std::string said = StderrOf([] { BuildArena(); });
    EXPECT_NE(said.find("No arena palette 12"), std::string::npos);
    EXPECT_EQ(CurrentPalette.values, expected.values);
    network.connected = 0;
}

} // namespace
