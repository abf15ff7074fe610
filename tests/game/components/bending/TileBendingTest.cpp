// A player on the small floor picks bending modes with its keys, its radial
// menu or a pad, aims at tiles, raises and lowers them (singly or gathered)
// and tells the peer.
#include "game/components/BendingScene.h"
#include "game/components/FakeLink.h"

#include "engine/core/ArchetypeRegistry.h"
#include "engine/core/EntityManager.h"
#include "game/match/GridCreation.h"
#include "support/VirtualPad.h"

#include <optional>
#include <set>
#include <string>

namespace {

using Slot = InputBindings::Slot;
using TileBending = BendingScene;

TEST_F(TileBending, ModeKeysPickTheModeAndTheLastHeldSlotWins)
{
    struct Case {
        std::vector<int> keys;
        int mode;
    };
    const Case cases[] = {
        {{}, 2}, {{0}, 0}, {{1}, 1}, {{2}, 2}, {{3}, 3}, {{4}, 4},
        // Keys held together: the highest slot, whatever the order.
        {{1, 3}, 3}, {{3, 1}, 3}, {{4, 0}, 4},
    };
    for (const Case& test : cases) {
        Component(player).mBendMode = 2;
        for (int key : test.keys)
            HoldKey(kModeKeys[static_cast<std::size_t>(key)]);
        Frame();
        ReleaseAllKeys();
        Frame();
        EXPECT_EQ(Component(player).mBendMode, test.mode) << "keys held: " << test.keys.size();
    }
}

TEST_F(TileBending, EachModeAimsAtItsTileAndHighlightsOnlyThat)
{
    const Engine::EntityHandle view = ExpectedTile(3);
    ASSERT_EQ(Component(player).mAimedTile, view) << "the player starts in mode 3";
    EXPECT_TRUE(IsSelected(view));

    Engine::EntityHandle before = view;
    for (int mode : {0, 1, 2, 3}) {
        PickMode(mode);
        const Engine::EntityHandle expected = ExpectedTile(mode);
        ASSERT_EQ(Component(player).mAimedTile, expected) << "mode " << mode;
        EXPECT_TRUE(IsSelected(expected)) << "mode " << mode;
        if (before != expected) {
            EXPECT_FALSE(IsSelected(before)) << "mode " << mode << " left the last aim lit";
        }
        EXPECT_LT(glm::distance(Camera(player).selectionPoint, TopOf(expected)), 1e-3f) << "mode " << mode;
        before = expected;
    }
    // The four targets are four different tiles.
    EXPECT_NE(ExpectedTile(0), ExpectedTile(1));
    EXPECT_NE(ExpectedTile(0), ExpectedTile(2));
    EXPECT_NE(ExpectedTile(2), ExpectedTile(3));

    // Nothing under the aim: no target, nothing lit.
    LookAt(Position(player) + glm::vec3(0.0f, 20.0f, 0.0f) + heading);
    Frame();
    EXPECT_TRUE(Component(player).mAimedTile.IsNull());
    EXPECT_FALSE(IsSelected(view));
}

// Opens the menu, moves the pointer by (dx, dy) pixels (y up) from the
// window's centre, and lets the menu pick.
class RadialMenu : public BendingScene {
protected:
    void OpenAndPoint(const glm::ivec2& offset)
    {
        mousePixel = {640, 360};
        HoldKey(Slot::ModeMenu);
        Frame();
        mousePixel = {640 + offset.x, 360 - offset.y};
        Frames(3);
    }
    void Close()
    {
        Release(Slot::ModeMenu);
        Frame();
    }
    std::vector<std::string> SliceTextures() const
    {
        std::vector<std::string> textures;
        for (Engine::EntityHandle slice : Component(player).mRadialSlices)
            textures.push_back(HudTexture(slice));
        return textures;
    }
};

TEST_F(RadialMenu, ThePointersSliceGivesTheModeAndOnlyItsSliceIsLit)
{
    struct Case {
        const char* where;
        glm::ivec2 offset;
        int from;
        int mode;
    };
    const Case cases[] = {
        {"on the origin", {0, 0}, 1, 1},
        {"49 pixels up, inside the dead circle", {0, 49}, 2, 2},
        {"up", {0, 80}, 2, 3},
        {"exactly 45 degrees left of up", {-60, 60}, 2, 3},
        {"just past 45 degrees left", {-61, 60}, 2, 1},
        {"exactly 45 degrees right of up", {60, 60}, 2, 3},
        {"just past 45 degrees right", {61, 60}, 2, 0},
        {"left", {-80, 0}, 3, 1},
        {"right", {80, 0}, 3, 0},
        {"exactly 135 degrees left", {-60, -60}, 3, 1},
        {"past 135 degrees left", {-60, -61}, 3, 2},
        {"down", {0, -80}, 3, 2},
        {"down from the gathering mode", {0, -80}, 4, 2},
    };
    // Slices run down, right, up, left: modes 2, 0, 3, 1.
    const int sliceOfMode[] = {1, 3, 0, 2};
    for (const Case& test : cases) {
        Component(player).mBendMode = test.from;
        OpenAndPoint(test.offset);
        ASSERT_TRUE(Component(player).mRadialOpen) << test.where;
        EXPECT_EQ(Component(player).mBendMode, test.mode) << test.where;
        std::vector<std::string> lit(4, "");
        lit[static_cast<std::size_t>(sliceOfMode[test.mode])] = "White";
        EXPECT_EQ(SliceTextures(), lit) << test.where;
        Close();
        EXPECT_FALSE(Component(player).mRadialOpen) << test.where;
        EXPECT_EQ(SliceTextures(), std::vector<std::string>(4, "")) << test.where << ": the closed menu shows";
    }
}

// A fullscreen window keeps its windowed size (set here as the options'
// resolution row sets it) for when it leaves: the pointer must still land
// where the menu measures from, or the menu picks a mode at once.
TEST_F(RadialMenu, OpensWithThePointerAtTheMiddleOfTheWindowAsItIsShown)
{
    Engine::Window& window = *Engine::Window::Main();
    window.SetFullscreen(true);
    window.SetResolution({800, 600});
    Frames(3);
    const auto [width, height] = window.GetSize();
    ASSERT_NE(std::make_pair(width, height), std::make_pair(800, 600)) << "the window stays fullscreen";
    Component(player).mBendMode = 2;
    HoldKey(Slot::ModeMenu);
    Frame();
    glm::ivec2 pointer{-1};
    for (int i = 0; i < 100 && pointer != glm::ivec2(width / 2, height / 2); ++i) {
        SDL_Delay(5);
        SDL_PumpEvents();
        SDL_GetMouseState(&pointer.x, &pointer.y);
    }
    EXPECT_EQ(pointer, glm::ivec2(width / 2, height / 2));
    mousePixel = pointer;
    Frames(2);
    EXPECT_EQ(Component(player).mBendMode, 2) << "the pointer never moved";
}

TEST_F(RadialMenu, EachSliceAimsAtTheTileOfItsMode)
{
    struct Case {
        glm::ivec2 offset;
        int mode;
    };
    for (const Case& test : {Case{{0, -100}, 2}, Case{{100, 0}, 0}, Case{{-100, 0}, 1}, Case{{0, 100}, 3}}) {
        OpenAndPoint(test.offset);
        Close();
        Frame();
        ASSERT_EQ(Component(player).mBendMode, test.mode);
        EXPECT_EQ(Component(player).mAimedTile, ExpectedTile(test.mode)) << "mode " << test.mode;
        EXPECT_TRUE(IsSelected(ExpectedTile(test.mode))) << "mode " << test.mode;
    }
}

TEST_F(TileBending, ARaiseIsPaidOnceAndHoldingRaisesOncePerCompletedStep)
{
    const Engine::EntityHandle tile = Component(player).mAimedTile;
    ASSERT_EQ(tile, ExpectedTile(3));
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    const float points = recorder.live.points0;

    HoldKey(Slot::BendActivate);
    Frame();
    EXPECT_FLOAT_EQ(EnergyLeft(), 15.0f);
    EXPECT_FLOAT_EQ(recorder.live.points0 - points, 150.0f) << "a bend is a moment worth replaying";
    Frame();
    EXPECT_EQ(HeightOf(tile), "TileUp");
    EXPECT_EQ(TileOf(tile).mLevel, 1);
    Frames(40);
    EXPECT_EQ(TileOf(tile).mLevel, 1) << "a moving tile is not raised again";
    EXPECT_FLOAT_EQ(EnergyLeft(), 15.0f);
    Frames(20);
    EXPECT_EQ(TileOf(tile).mLevel, 2) << "the next step follows the finished one";
    EXPECT_FLOAT_EQ(EnergyLeft(), 14.0f);
    Release(Slot::BendActivate);
}

// A tile from the arena's archetype that is not one of the grid's tiles.
Engine::EntityHandle StrayTile(std::uint64_t number)
{
    Engine::EntityHandle tile = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::ArchetypeRegistry::GetInstance().LoadArchetype(GridCreation::kTileArchetype, tile);
    Engine::Transform::PositionRef(tile) = glm::vec3(0.0f, -500.0f, 0.0f);
    TileLogicComponent& component = *Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile);
    component.mTileNumber = number;
    for (Engine::LogicComp* each : *Engine::LogicManager::GetInstance().FindComponents(tile))
        each->Initialize();
    component.HeightMachine()->Start();
    component.HeightMachine()->ChangeState("TileStay");
    component.HeightMachine()->Update();
    return tile;
}

TEST_F(TileBending, RefusedTilesAreNeitherPaidForNorAskedToMove)
{
    struct Case {
        const char* what;
        std::function<Engine::EntityHandle(Engine::EntityHandle tile)> spoil;
        bool lowers;
    };
    const Case cases[] = {
        {"immovable", [](auto tile) { return TileOf(tile).tile_type.value = 1, tile; }, false},
        {"crashing", [](auto tile) { return TileOf(tile).tile_type.value = 2, tile; }, false},
        {"moving",
         [](auto tile) {
             TileOf(tile).HeightMachine()->ChangeState("TileUp");
             TileOf(tile).HeightMachine()->Update();
             return tile;
         },
         false},
        // Raising stops at the top level; lowering from there is fine.
        {"at the top level", [](auto tile) { return TileOf(tile).mLevel = 5, tile; }, true},
        {"not the grid's, with a number inside the grid", [](auto) { return StrayTile(3); }, false},
        {"not the grid's, with a number past the grid", [](auto) { return StrayTile(5000); }, false},
        {"destroyed",
         [](auto tile) {
             Engine::EntityMgr::GetInstance().DestroyEntity(tile);
             StdoutOf([] { Engine::EntityMgr::GetInstance().Flush(); });
             return tile;
         },
         false},
        {"the null handle", [](auto) { return Engine::EntityHandle(); }, false},
        // The peer's step goes first and the tile's rest clears what was
        // asked meanwhile: a bend paid now would be lost here and doubled
        // on the peer.
        {"with the peer's step waiting", [](auto tile) { return TileOf(tile).mPeerStep = 1, tile; }, false},
    };
    // Not the one underfoot; the last one is left unspoilt.
    std::vector<Engine::EntityHandle> tiles = TilesAround(std::size(cases) + 2);
    tiles.erase(tiles.begin());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& test = cases[i];
        const Engine::EntityHandle tile = test.spoil(tiles[i]);
        const float energy = EnergyLeft();
        Component(player).RaiseTile(tile);
        EXPECT_FLOAT_EQ(EnergyLeft(), energy) << test.what << " was paid for";
        Component(player).LowerTile(tile);
        EXPECT_FLOAT_EQ(EnergyLeft(), energy - (test.lowers ? 1.0f : 0.0f)) << test.what;
        if (tile.IsValid()) {
            EXPECT_EQ(TileOf(tile).mRaiseRequest, 0) << test.what;
            EXPECT_EQ(TileOf(tile).mLowerRequest, test.lowers ? 1 : 0) << test.what;
        }
    }

    // Too little energy: nothing paid, nothing asked.
    const Engine::EntityHandle tile = tiles.back();
    Component(player).Energy.value = 0.5f;
    Component(player).RaiseTile(tile);
    Component(player).LowerTile(tile);
    EXPECT_FLOAT_EQ(EnergyLeft(), 0.5f);
    EXPECT_EQ(TileOf(tile).mRaiseRequest + TileOf(tile).mLowerRequest, 0);
}

TEST_F(TileBending, AGatheredTileThatIsDestroyedIsSkippedAndTheRestMove)
{
    PickMode(4);
    const std::vector<Engine::EntityHandle> tiles = TilesAround(4);
    HoldKey(SDL_SCANCODE_B);
    for (std::size_t i = 1; i < tiles.size(); ++i) {
        LookAt(TopOf(tiles[i]));
        Frame();
    }
    HoldKey(SDL_SCANCODE_B, false);
    ASSERT_EQ(Component(player).mDraggedTiles.size(), 3u);
    Engine::EntityMgr::GetInstance().DestroyEntity(tiles[2]);
    StdoutOf([this] { Frame(); });
    HoldKey(Slot::BendActivate);
    Frame();
    EXPECT_FLOAT_EQ(EnergyLeft(), 14.0f);
    EXPECT_EQ(TileOf(tiles[1]).mRaiseRequest, 1);
    EXPECT_EQ(TileOf(tiles[3]).mRaiseRequest, 1);
    Release(Slot::BendActivate);
    // Letting go of a tile that is gone is safe too.
    HoldKey(SDL_SCANCODE_N);
    Frame();
    EXPECT_TRUE(Component(player).mDraggedTiles.empty());
}

TEST_F(TileBending, LoweringFromModes0To3NeedsALevelOfAtLeast0ButGatheredTilesGoAsLowAsTheArenaHolds)
{
    for (int mode : {3, 0, 1, 2}) {
        PickMode(mode);
        const Engine::EntityHandle tile = Component(player).mAimedTile;
        ASSERT_EQ(tile, ExpectedTile(mode)) << "mode " << mode;
        TileOf(tile).mLevel = -1;
        float energy = EnergyLeft();
        HoldKey(Slot::BendDeActivate);
        Frame();
        EXPECT_EQ(TileOf(tile).mLowerRequest, 0) << "mode " << mode << " lowered a tile below level 0";
        EXPECT_FLOAT_EQ(EnergyLeft(), energy);

        TileOf(tile).mLevel = 0;
        energy = EnergyLeft();
        Frame();
        EXPECT_EQ(TileOf(tile).mLowerRequest, 1) << "mode " << mode;
        EXPECT_FLOAT_EQ(EnergyLeft(), energy - 1.0f);
        Release(Slot::BendDeActivate);
        Frames(60);
        EXPECT_EQ(TileOf(tile).mLevel, -1);
        EXPECT_EQ(HeightOf(tile), "TileStay");
    }

    PickMode(4);
    const Engine::EntityHandle low = TilesAround(8).back();
    TileOf(low).mLevel = -1;
    HoldKey(SDL_SCANCODE_B);
    LookAt(TopOf(low));
    Frame();
    HoldKey(SDL_SCANCODE_B, false);
    ASSERT_EQ(Component(player).mDraggedTiles.size(), 1u);
    HoldKey(Slot::BendDeActivate);
    Frame();
    EXPECT_EQ(TileOf(low).mLowerRequest, 1);
    Release(Slot::BendDeActivate);
    Frames(60);

    // The peer refuses a level past the arena's.
    TileOf(low).mLevel = -TileOf(low).LevelLimit();
    const float energy = EnergyLeft();
    HoldKey(Slot::BendDeActivate);
    Frame();
    EXPECT_EQ(TileOf(low).mLowerRequest, 0);
    EXPECT_FLOAT_EQ(EnergyLeft(), energy);
}

TEST_F(TileBending, GatheredTilesMoveAllTogetherOrNotAtAll)
{
    PickMode(4);
    EXPECT_TRUE(Component(player).mAimedTile.IsNull()) << "leaving mode 3 drops its aim";
    auto gather = [this](const std::vector<Engine::EntityHandle>& tiles) {
        HoldKey(SDL_SCANCODE_B);
        for (Engine::EntityHandle tile : tiles) {
            LookAt(TopOf(tile));
            Frame();
        }
        // Aiming without B gathers nothing.
        LookAt(TopOf(TilesAround(30).back()));
        HoldKey(SDL_SCANCODE_B, false);
        Frame();
    };
    auto gathered = [this] { return Component(player).mDraggedTiles; };
    auto pressed = [this](Slot slot) {
        HoldKey(slot);
        Frame();
        Release(slot);
    };

    const std::vector<Engine::EntityHandle> seventeen = TilesAround(17);
    gather(seventeen);
    ASSERT_EQ(gathered().size(), 17u);
    for (Engine::EntityHandle tile : seventeen)
        EXPECT_TRUE(IsSelected(tile));
    pressed(Slot::BendActivate);
    EXPECT_FLOAT_EQ(EnergyLeft(), 16.0f) << "17 tiles cannot be paid with 16 energy";
    for (Engine::EntityHandle tile : seventeen)
        EXPECT_EQ(TileOf(tile).mRaiseRequest, 0);

    // N lets every gathered tile go.
    HoldKey(SDL_SCANCODE_N);
    Frame();
    HoldKey(SDL_SCANCODE_N, false);
    EXPECT_TRUE(gathered().empty());
    for (Engine::EntityHandle tile : seventeen)
        EXPECT_FALSE(IsSelected(tile));

    const std::vector<Engine::EntityHandle> sixteen(seventeen.begin() + 1, seventeen.end());
    gather(sixteen);
    ASSERT_EQ(gathered().size(), 16u);
    pressed(Slot::BendActivate);
    EXPECT_FLOAT_EQ(EnergyLeft(), 0.0f);
    for (Engine::EntityHandle tile : sixteen)
        EXPECT_EQ(TileOf(tile).mRaiseRequest, 1);
    Frames(60);
    for (Engine::EntityHandle tile : sixteen)
        EXPECT_EQ(TileOf(tile).mLevel, 1);
    EXPECT_EQ(gathered().size(), 16u) << "bending leaves the tiles gathered";

    // Leaving mode 4 lets them go; only the new aim is lit.
    PickMode(3);
    EXPECT_TRUE(gathered().empty());
    for (Engine::EntityHandle tile : sixteen)
        EXPECT_EQ(IsSelected(tile), tile == Component(player).mAimedTile);
}

// Another player's aim leaving a tile unlights it, and an unlit tile does not
// move: the tile aimed at or gathered here is lit again before it is paid for.
TEST_F(TileBending, ATileAnotherAimLeftStillTakesTheMovePaidFor)
{
    auto raiseOnce = [this] {
        HoldKey(Slot::BendActivate);
        Frame();
        Release(Slot::BendActivate);
        Frames(3);
    };
    const Engine::EntityHandle view = Component(player).mAimedTile;
    ASSERT_FALSE(view.IsNull());
    TileLogicComponent::SetSelected(view, false);
    raiseOnce();
    EXPECT_FLOAT_EQ(EnergyLeft(), 15.0f);
    EXPECT_EQ(TileOf(view).mLevel, 1) << "aimed";

    PickMode(4);
    const Engine::EntityHandle other = TilesAround(2).back();
    LookAt(TopOf(other));
    HoldKey(SDL_SCANCODE_B);
    Frame();
    HoldKey(SDL_SCANCODE_B, false);
    ASSERT_EQ(Component(player).mDraggedTiles, std::set<Engine::EntityHandle>{other});
    TileLogicComponent::SetSelected(other, false);
    raiseOnce();
    EXPECT_FLOAT_EQ(EnergyLeft(), 14.0f);
    EXPECT_EQ(TileOf(other).mLevel, 1) << "gathered";
}

TEST_F(TileBending, HoldingFreezesTheModeAndRaisesTheTileUnderfoot)
{
    const Engine::EntityHandle view = Component(player).mAimedTile;
    ASSERT_EQ(view, ExpectedTile(3));
    // The pointer's buttons are read at the end of a frame.
    HoldRightButton();
    Frame();
    HoldKey(kModeKeys[0]);
    Frame();
    EXPECT_EQ(Component(player).mBendMode, 3) << "the mode keys wait while the hold button is down";
    EXPECT_EQ(Component(player).mAimedTile, home);
    EXPECT_TRUE(IsSelected(home));
    EXPECT_FALSE(IsSelected(view));
    EXPECT_EQ(TileOf(home).mRaiseRequest, 1);
    EXPECT_EQ(TileOf(view).mRaiseRequest, 0);
    EXPECT_FLOAT_EQ(EnergyLeft(), 15.0f);

    HoldRightButton(false);
    Frames(2);
    EXPECT_EQ(Component(player).mBendMode, 0);
}

// The aim leaves the tile in view for the one underfoot before anything is
// paid: the tile in view, unlit, would never take a move paid for.
TEST_F(TileBending, HoldingWithTheRaiseKeyPaysOnlyForTheTileUnderfoot)
{
    const Engine::EntityHandle view = Component(player).mAimedTile;
    ASSERT_EQ(view, ExpectedTile(3));
    // The pointer's buttons are read at the end of a frame, the keys at its
    // start: the second frame sees both at once.
    HoldRightButton();
    Frame();
    HoldKey(Slot::BendActivate);
    Frame();
    EXPECT_EQ(Component(player).mAimedTile, home);
    EXPECT_EQ(TileOf(home).mRaiseRequest, 1);
    EXPECT_EQ(TileOf(view).mRaiseRequest, 0);
    EXPECT_FLOAT_EQ(EnergyLeft(), 15.0f);
    HoldRightButton(false);
    Release(Slot::BendActivate);
}

// The bending keys of a controller player: mode buttons act when pressed,
// the shoulders raise and lower.
class PadBending : public BendingScene {
protected:
    void BeforeSpawn() override
    {
        for (InputBindings& record : InputBindings::Records()) {
            record.codes[Slot::ControllerBendMode0] = SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
            record.codes[Slot::ControllerBendMode1] = SDL_CONTROLLER_BUTTON_DPAD_LEFT;
            record.codes[Slot::ControllerBendMode2] = SDL_CONTROLLER_BUTTON_DPAD_DOWN;
            record.codes[Slot::ControllerBendMode3] = SDL_CONTROLLER_BUTTON_DPAD_UP;
        }
        pad.emplace();
        ASSERT_TRUE(pad->IsPlugged()) << SDL_GetError();
        Frame();
        gamepad = true;
    }
    void TearDown() override
    {
        pad.reset();
        BendingScene::TearDown();
    }
    void Button(SDL_GameControllerButton button, bool down) { pad->Button(button, down); }

    std::optional<PluggedPad> pad;
};

TEST_F(PadBending, ModeButtonsActWhenPressedAndTheShouldersBend)
{
    ASSERT_TRUE(InputBindings::ForPlayer(Component(player).mPlayerNumber).UsesController);
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    Frames(2);
    EXPECT_EQ(Component(player).mBendMode, 0);
    EXPECT_EQ(Component(player).mAimedTile, ExpectedTile(0));
    // The keyboard's mode keys belong to the keyboard player.
    HoldKey(kModeKeys[2]);
    Frames(2);
    HoldKey(kModeKeys[2], false);
    EXPECT_EQ(Component(player).mBendMode, 0);
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);

    // Pad buttons are taken in at the end of a frame.
    Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    Frames(2);
    Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    EXPECT_EQ(TileOf(ExpectedTile(0)).mRaiseRequest, 1);
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Frames(2);
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(Component(player).mBendMode, 1);
    Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    Frames(2);
    Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false);
    EXPECT_EQ(TileOf(ExpectedTile(1)).mLowerRequest, 1);
    EXPECT_FLOAT_EQ(EnergyLeft(), 14.0f);
}

// The player's bends go out on channel 2 through a link whose socket is the
// tests' fake.
class BendingOverTheLink : public BendingScene {
protected:
    void SetUp() override
    {
        BendingScene::SetUp();
        link = std::make_unique<FakeLink>();
    }
    void TearDown() override
    {
        link.reset();
        BendingScene::TearDown();
    }
    // The tile records sent since the last call.
    std::vector<Net::TileBend> TakeSent()
    {
        std::vector<Net::TileBend> records;
        for (const auto& payload : link->TakeSent(2)) {
            const auto decoded = Net::DecodeTileBend(std::span(payload).first(Net::TileBend::kSize));
            EXPECT_TRUE(decoded) << decoded.problem;
            records.push_back(decoded.record);
        }
        return records;
    }

    std::unique_ptr<FakeLink> link;
};

TEST_F(BendingOverTheLink, RaisesAndLowersAreSentOnlyWhenLinkedAndSetUp)
{
    struct Case {
        std::uint8_t connected;
        std::uint8_t setUp;
    };
    const Engine::EntityHandle tile = ExpectedTile(3);
    TileOf(tile).mLevel = 2;
    NetworkMgr& network = NetworkMgr::GetInstance();
    for (const Case& test : {Case{0, 0}, Case{0, 1}, Case{1, 0}, Case{1, 1}}) {
        network.connected = test.connected;
        network.setup_exchanged = test.setUp;
        // No frame runs between the calls: the tile stays at rest, and with
        // each request taken back it takes the next, so each one is paid and
        // asked for.
        const float energy = EnergyLeft();
        Component(player).RaiseTile(tile);
        TileOf(tile).mRaiseRequest = 0;
        Component(player).LowerTile(tile);
        TileOf(tile).mLowerRequest = 0;
        ASSERT_FLOAT_EQ(EnergyLeft(), energy - 2.0f);
        const std::vector<Net::TileBend> sent = TakeSent();
        if (!test.connected || !test.setUp) {
            EXPECT_TRUE(sent.empty()) << int(test.connected) << int(test.setUp);
            continue;
        }
        ASSERT_EQ(sent.size(), 2u);
        const glm::vec3 where = Position(tile);
        for (const Net::TileBend& record : sent) {
            EXPECT_EQ(record.tile, TileOf(tile).mTileNumber);
            EXPECT_EQ(record.position, where);
        }
        // A raise names the level it leaves, a lowering the one above it.
        EXPECT_EQ(sent[0].level, 2u);
        EXPECT_EQ(sent[0].direction, 1u);
        EXPECT_EQ(sent[1].level, 3u);
        EXPECT_EQ(sent[1].direction, 0u);
    }
    // The floor tells the link how many tiles a peer may name.
    EXPECT_EQ(network.tile_count, Tiles().size());
}

// Both keys at once: the raise, asked first, is the one move the tile makes,
// pays for and tells the peer of; its level then still tells its height.
TEST_F(BendingOverTheLink, RaiseAndLowerHeldTogetherMakeOneMoveAndTellThePeerOfIt)
{
    NetworkMgr& network = NetworkMgr::GetInstance();
    network.connected = 1;
    network.setup_exchanged = 1;
    const Engine::EntityHandle tile = Component(player).mAimedTile;
    ASSERT_FALSE(tile.IsNull());
    const glm::vec3 before = Position(tile);
    HoldKey(Slot::BendActivate);
    HoldKey(Slot::BendDeActivate);
    Frame();
    Release(Slot::BendActivate);
    Release(Slot::BendDeActivate);
    Frames(60);
    EXPECT_FLOAT_EQ(EnergyLeft(), 15.0f) << "one move paid";
    const std::vector<Net::TileBend> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].direction, 1u);
    EXPECT_EQ(TileOf(tile).mLevel, 1);
    EXPECT_NEAR(glm::distance(Position(tile), before), TileOf(tile).tile_size.value, 0.05f);
    EXPECT_EQ(HeightOf(tile), "TileStay");
}

} // namespace
