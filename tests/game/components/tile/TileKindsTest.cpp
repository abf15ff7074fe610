#include "game/components/TileScene.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/NetworkingEvent.h"
#include "game/arena/HexGrid.h"
#include "game/arena/Palette.h"
#include "game/components/tile/ColourCollider.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/tile/ImmovableTile.h"


namespace {

constexpr glm::vec3 kFloor{0.0f, -59.0f, 0.0f};
const glm::vec3 kDown{0.0f, -1.0f, 0.0f};
const glm::vec3 kBackward{0.0f, 0.0f, -1.0f};

using TileKinds = TileScene;

TEST_F(TileKinds, ASplashGrowsToItsFinalScaleAndIsThenDestroyed)
{
    Engine::EntityHandle splash = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(splash);
    Engine::Transform::ScaleRef(splash) = glm::vec3(0.5f);
    Engine::SceneManager::SetActive();
    Engine::LogicManager::GetInstance().AddComponent<ColourCollider>(splash);

    Frames(7);
    const float grown = Engine::Transform::ScalePtr(splash)->x;
    EXPECT_NEAR(grown, 0.5f + 7.5f * 0.07f / 0.15f, 1e-3f);
    EXPECT_TRUE(splash.IsValid());
    Frames(9);
    Engine::EntityMgr::GetInstance().Flush();
    EXPECT_FALSE(splash.IsValid()) << "destroyed once 0.15 s have passed";

    // A splash given no time, or less, takes its final scale at once; the
    // frame before it goes must not put an infinite or NaN scale on show.
    for (const float seconds : {0.0f, -0.5f}) {
        for (const std::uint64_t milliseconds : {10u, 0u}) {
            Engine::EntityHandle flash = Engine::EntityMgr::GetInstance().CreateEntity();
            Engine::TransformCompManager::GetInstance().AddComponent(flash);
            Engine::Transform::ScaleRef(flash) = glm::vec3(0.5f);
            Engine::LogicManager::GetInstance().AddComponent<ColourCollider>(flash);
            Engine::LogicManager::GetCompPtr<ColourCollider>(flash)->total_time.value = seconds;
            Frames(1, milliseconds);
            EXPECT_EQ(*Engine::Transform::ScalePtr(flash), glm::vec3(8.0f)) << seconds << " s, " << milliseconds << " ms";
            Engine::EntityMgr::GetInstance().Flush();
            EXPECT_FALSE(flash.IsValid()) << seconds << " s";
        }
    }
}

TEST_F(TileKinds, ACrashingTileStopsOnTheTileAheadAndSnapsOntoIt)
{
    // The ceiling tile's face hangs 3.0 above the crashing tile's top.
    Engine::EntityHandle crashing = Tile(kFloor);
    Tile(kFloor + glm::vec3(0.0f, 83.0f, 0.0f), 1, kDown, kBackward);
    Engine::LogicManager::GetInstance().AddComponent<CrashingTile>(crashing);
    CrashingTile& crash = *Engine::LogicManager::GetCompPtr<CrashingTile>(crashing);
    crash.Initialize();
    EXPECT_EQ(Component(crashing).tile_type.value, TileLogicComponent::Crashing);
    crash.mActive = 1;

    Frames(20);
    EXPECT_EQ(crash.mActive, 0);
    EXPECT_NEAR(Position(crashing).y, kFloor.y + 3.0f - 0.01f, 0.02f) << "its top rests on the other tile's face";
    const float stopped = Position(crashing).y;
    Frames(10);
    EXPECT_EQ(Position(crashing).y, stopped);
}

TEST_F(TileKinds, ACrashingTileWithNothingAheadKeepsMoving)
{
    Engine::EntityHandle crashing = Tile(kFloor);
    Engine::LogicManager::GetInstance().AddComponent<CrashingTile>(crashing);
    CrashingTile& crash = *Engine::LogicManager::GetCompPtr<CrashingTile>(crashing);
    crash.Initialize();
    crash.mActive = 1;
    Frames(40);
    EXPECT_EQ(crash.mActive, 1);
    EXPECT_NEAR(Position(crashing).y, kFloor.y + 25.0f * 0.4f, 0.01f);

    const Engine::RenderWrapper& colours = Wrapper(crashing);
    EXPECT_EQ(colours.mAmbientColor_0.value, CurrentPalette.Colour(CrashAmbient));
    EXPECT_EQ(colours.mAmbientColor_2.value, CurrentPalette.Colour(CrashAmb2));
    EXPECT_EQ(colours.mSpecularColor.value, CurrentPalette.Colour(CrashSpec));
}

// A tile met is never passed through: not by a tile struck again where it
// rests on the tile it met, nor by that tile when it is struck, nor by two
// crashing tiles that meet head on.
TEST_F(TileKinds, ACrashingTileNeverPassesThroughATileItHasReached)
{
    const auto crash = [](Engine::EntityHandle tile) -> CrashingTile& {
        Engine::LogicManager::GetInstance().AddComponent<CrashingTile>(tile);
        CrashingTile& first = *Engine::LogicManager::GetCompPtr<CrashingTile>(tile);
        first.Initialize();
        first.mActive = 1;
        return first;
    };
    const glm::vec3 ceiling(0.0f, 83.0f, 0.0f);
    const Engine::EntityHandle floor = Tile(kFloor);
    const Engine::EntityHandle above = Tile(kFloor + ceiling, 1, kDown, kBackward);
    crash(floor);
    Frames(20);
    const float rests = Position(floor).y;
    EXPECT_EQ(crash(floor).mActive, 1);
    Frames(5);
    EXPECT_NEAR(Position(floor).y, rests, 1e-3f) << "struck again";
    EXPECT_EQ(crash(above).mActive, 1);
    Frames(5);
    EXPECT_NEAR(Position(above).y, kFloor.y + ceiling.y, 1e-3f) << "the tile it rests on, struck";

    // Head on, 20 apart: each stops on the other's face.
    const glm::vec3 aside(20.0f, 0.0f, 0.0f);
    const Engine::EntityHandle up = Tile(kFloor + aside, 2);
    const Engine::EntityHandle down = Tile(kFloor + aside + glm::vec3(0.0f, 100.0f, 0.0f), 3, kDown, kBackward);
    const CrashingTile& rising = crash(up);
    const CrashingTile& falling = crash(down);
    Frames(40, 16);
    EXPECT_EQ(rising.mActive + falling.mActive, 0);
    EXPECT_NEAR(Position(down).y - Position(up).y, 80.0f, 0.05f) << "face to face";
}

TEST_F(TileKinds, ThePeersCrashingTilesEventThrowsTheTileOut)
{
    Engine::EntityHandle tile = Tile(kFloor, 5);
    Engine::NetworkingEvent event;
    ASSERT_TRUE(event.Fill(4, Net::Encode(Net::ArenaEvent{Net::ArenaEvent::kCrashingTiles, 0, {5, 6, 7}})));
    Engine::EventHandlerList::Raise(event, tile);
    Engine::EventHandlerList::Raise(event, tile);
    const auto* list = Engine::LogicManager::GetInstance().FindComponents(tile);
    const auto crashing = std::count_if(list->begin(), list->end(),
                                        [](const Engine::LogicComp* c) { return dynamic_cast<const CrashingTile*>(c); });
    EXPECT_EQ(crashing, 2) << "a tile struck twice carries two, and the first one moves";
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<CrashingTile>(tile)->mActive, 1);

    Engine::NetworkingEvent flip;
    ASSERT_TRUE(flip.Fill(4, Net::Encode(Net::ArenaEvent{Net::ArenaEvent::kFlip, 0, {}})));
    Engine::EntityHandle other = Tile(kFloor + glm::vec3(10.0f, 0.0f, 0.0f), 6);
    Engine::EventHandlerList::Raise(flip, other);
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<CrashingTile>(other), nullptr) << "a flip moves no tile";
}

TEST_F(TileKinds, AnImmovableTileEntersTheGridListOnceAndTakesItsColours)
{
    HexGrid::GetInstance().immovableTiles.clear();
    Engine::EntityHandle tile = Tile(kFloor, 42);
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<ImmovableTile>(tile);
    logic.AddComponent<ImmovableTile>(tile);
    EXPECT_EQ(HexGrid::GetInstance().immovableTiles, std::vector<std::int32_t>{42});
    EXPECT_EQ(Component(tile).tile_type.value, TileLogicComponent::Immovable);

    Frames(1);
    EXPECT_EQ(Wrapper(tile).mAmbientColor_0.value, CurrentPalette.Colour(ImmAmbient));
    EXPECT_EQ(Wrapper(tile).mAmbientColor_1.value, CurrentPalette.Colour(ImmTex));
    EXPECT_EQ(Wrapper(tile).mDiffuseColor.value, CurrentPalette.Colour(ImmDiffuse));
}

} // namespace
