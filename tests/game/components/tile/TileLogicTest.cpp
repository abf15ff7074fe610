#include "game/components/TileScene.h"
#include "engine/audio/Emitter.h"
#include "engine/audio/RecordingSoundSystem.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/NetworkMgr.h"
#include "engine/core/Random.h"
#include "engine/core/TransformCompManager.h"
#include "game/components/tile/ColourCollider.h"
#include "game/components/tile/TileColourStates.h"
#include "game/components/tile/TileHeightStates.h"
#include "game/components/tile/TileProbe.h"
#include "game/components/tile/TileHooks.h"
#include "game/arena/Palette.h"
#include "support/CapturedOutput.h"

#include <algorithm>
#include <glm/gtc/constants.hpp>
#include <glm/gtx/rotate_vector.hpp>
#include <glm/gtx/string_cast.hpp>
#include <limits>
#include <vector>

#include <utility>

namespace {

constexpr glm::vec3 kHere{0.0f, -59.0f, 0.0f};
// A tile's top face: 40 above its centre.
constexpr float kTop = 40.0f;

testing::AssertionResult Near(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-3f)
{
    if (glm::length(actual - expected) < tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << glm::to_string(actual) << " vs " << glm::to_string(expected);
}

using TileHeight = TileScene;

// The peer's bend of its copy of the tile, as the link hands it over.
void PeerBend(Engine::EntityHandle tile, std::int32_t level, const glm::vec3& from, std::uint32_t direction)
{
    Engine::NetworkingEvent bend;
    ASSERT_TRUE(bend.Fill(0, Net::Encode(Net::TileBend{0, static_cast<std::uint32_t>(level), from, direction})));
    Engine::EventHandlerList::Raise(bend, tile);
}

TEST_F(TileHeight, ATileRisesFromBelowIntoItsPlaceAndRests)
{
    Engine::Random::SeedWith(7);
    Engine::EntityHandle tile = Tile(kHere);
    Height(tile).Start();
    EXPECT_EQ(HeightState(tile), "TileStartAnimation");
    const auto& rise = *Height(tile).GetState<TileStartAnimation>();
    EXPECT_GE(rise.duration, 0.25f);
    EXPECT_LE(rise.duration, 3.0f);
    const float depth = rise.rest.y - rise.sunk.y;
    EXPECT_GE(depth, 1.0f);
    EXPECT_LE(depth, 5.0f);

    Frames(1);
    EXPECT_LT(Position(tile).y, kHere.y) << "it starts sunk";
    Frames(400);
    EXPECT_EQ(HeightState(tile), "TileStay");
    EXPECT_NEAR(Position(tile).y, kHere.y, 0.05f);
}

TEST_F(TileHeight, ASelectedTileStepsUpAndDownByItsSizeInHalfASecond)
{
    Engine::EntityHandle tile = Tile(kHere);
    TileLogicComponent& component = Component(tile);
    EXPECT_FLOAT_EQ(component.tile_size.value, 5.0f);

    component.mRaiseRequest = 1;
    Frames(1);
    EXPECT_EQ(HeightState(tile), "TileStay") << "an unselected tile never moves";

    component.SetSelected(true);
    component.mRaiseRequest = 1;
    Frames(1);
    EXPECT_EQ(HeightState(tile), "TileUp");
    EXPECT_EQ(component.mLevel, 1);
    Frames(49);
    EXPECT_EQ(HeightState(tile), "TileUp") << "a step lasts 1 / tile_speed = 0.5 s";
    Frames(2);
    EXPECT_EQ(HeightState(tile), "TileStay");
    EXPECT_TRUE(Near(Position(tile), kHere + glm::vec3(0.0f, 5.0f, 0.0f), 0.01f));
    EXPECT_EQ(component.mRaiseRequest, 0) << "entering the rest clears the request";

    component.mLowerRequest = 1;
    Frames(60);
    EXPECT_EQ(component.mLevel, 0);
    EXPECT_TRUE(Near(Position(tile), kHere, 0.01f));

    // A raise and a lowering in one frame (two players aiming at the tile)
    // make one step, and the level counts that step alone.
    component.mRaiseRequest = 1;
    component.mLowerRequest = 1;
    Frames(60);
    EXPECT_EQ(component.mLevel, -1);
    EXPECT_TRUE(Near(Position(tile), kHere - glm::vec3(0.0f, 5.0f, 0.0f), 0.01f));
}

// Neither kind takes a request. An immovable tile follows the peer's
// records; a crashing one does not, even one that came before the crash
// did: the peer bent its copy before it knew of the crash, which decides on
// both machines where the tile ends.
TEST_F(TileHeight, ImmovableAndCrashingTilesIgnoreRequestsAndOnlyImmovableOnesFollowThePeer)
{
    struct Case {
        int type;
        bool typedFirst;
    };
    for (const Case c : {Case{TileLogicComponent::Immovable, true}, Case{TileLogicComponent::Crashing, true},
                         Case{TileLogicComponent::Crashing, false}}) {
        Engine::EntityHandle tile = Tile(kHere + glm::vec3(10.0f * static_cast<float>(c.type + c.typedFirst), 0.0f, 0.0f), c.type);
        TileLogicComponent& component = Component(tile);
        component.tile_type.value = c.typedFirst ? c.type : TileLogicComponent::Normal;
        component.SetSelected(true);
        component.mRaiseRequest = c.typedFirst;
        Frames(30);
        EXPECT_EQ(component.mLevel, 0) << "type " << c.type;
        EXPECT_EQ(HeightState(tile), "TileStay");
        EXPECT_EQ(component.IsMovable(), !c.typedFirst);

        const glm::vec3 before = Position(tile);
        Engine::NetworkingEvent bend;
        const Net::TileBend record{static_cast<std::uint32_t>(c.type), 3, before + glm::vec3(0, 1, 0), 1};
        ASSERT_TRUE(bend.Fill(0, Net::Encode(record)));
        Engine::EventHandlerList::Raise(bend, tile);
        component.tile_type.value = c.type;
        Frames(1);
        const bool follows = c.type == TileLogicComponent::Immovable;
        EXPECT_EQ(HeightState(tile), follows ? "TileUp" : "TileStay") << "type " << c.type;
        if (follows) {
            EXPECT_EQ(component.mLevel, 3) << "the peer's level is taken as it is";
        } else {
            EXPECT_EQ(Position(tile), before);
        }
    }
}

TEST_F(TileHeight, AnUprightTileStopsAtLevelFiveATiltedOneAtTheArenasLimit)
{
    Engine::EntityHandle floor = Tile(kHere);
    Component(floor).mLevel = 5;
    EXPECT_TRUE(Component(floor).IsRaiseBlocked());

    Engine::EntityHandle wall = Tile({-75.0f, 0.0f, 0.0f}, 1, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    Component(wall).mLevel = 12;
    EXPECT_FALSE(Component(wall).IsRaiseBlocked());
    Component(wall).mLevel = Component(wall).LevelLimit();
    EXPECT_TRUE(Component(wall).IsRaiseBlocked());
}

TEST_F(TileHeight, ARaiseIsRefusedWhenATileLiesWithinOneStep)
{
    // Floor tile under a ceiling tile whose bottom face hangs 4.5 above the
    // floor tile's top: less than one step of 5.
    Engine::EntityHandle floor = Tile(kHere);
    Engine::EntityHandle far = Tile(kHere + glm::vec3(20.0f, 0.0f, 0.0f), 1);
    Tile(kHere + glm::vec3(0.0f, 2 * kTop + 4.5f, 0.0f), 2, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, -1.0f});
    Tile(kHere + glm::vec3(20.0f, 2 * kTop + 5.5f, 0.0f), 3, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, -1.0f});

    Component(floor).mRaiseRequest = 1;
    EXPECT_TRUE(Component(floor).IsRaiseBlocked());
    EXPECT_EQ(Component(floor).mRaiseRequest, 0) << "the refusal clears the request";
    EXPECT_EQ(Component(floor).mRaiseBlocked, 1);
    EXPECT_FALSE(Component(far).IsRaiseBlocked()) << "5.5 ahead leaves room for a step";
    // Room for exactly one step is still too little.
    float room = kTop;
    for (const Engine::RayHit& hit : TileProbe::Cast(far))
        room = std::min(room, hit.distance);
    ASSERT_NEAR(room, 5.49f, 0.01f);
    Component(far).tile_size.value = room;
    EXPECT_TRUE(Component(far).IsRaiseBlocked());

    // Upside down, the same floor tile rises the other way.
    TileHooks::SetArenaFlippedLookup([] { return true; });
    Component(floor).mRaiseBlocked = 0;
    EXPECT_FALSE(Component(floor).IsRaiseBlocked());
    TileHooks::SetArenaFlippedLookup(nullptr);
}

TEST_F(TileHeight, RaisesCycleThroughTheTenGrindingSoundsOnTheLocalPlayer)
{
    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    Engine::EntityHandle player = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::SetEntityName(player, "Player_Mouse");
    Engine::LogicManager::GetInstance().AddComponent<Engine::Emitter>(player);
    auto* emitter = Engine::LogicManager::GetCompPtr<Engine::Emitter>(player);
    emitter->AddSound("tile_moving", "m1", true);
    for (int n = 2; n <= 10; ++n) {
        const std::string number = std::to_string(n);
        emitter->AddSound(std::string("tile_moving").append(number), std::string("m").append(number), true);
    }

    TileLogicComponent::sRaiseSound = 0;
    Engine::EntityHandle tile = Tile(kHere);
    std::vector<std::string> played;
    for (int raise = 0; raise < 11; ++raise) {
        audio.calls.clear();
        Height(tile).ChangeState("TileUp");
        Height(tile).Update();
        Height(tile).ChangeState("TileStay");
        Height(tile).Update();
        ASSERT_FALSE(audio.CallsStartingWith("Play").empty());
        played.push_back(audio.CallsStartingWith("Play").front());
    }
    EXPECT_EQ(played.front(), "Play m1 loop=0 overlap=0");
    EXPECT_EQ(played[9], "Play m10 loop=0 overlap=0");
    EXPECT_EQ(played[10], "Play m1 loop=0 overlap=0");

    audio.calls.clear();
    Height(tile).ChangeState("TileDown");
    Height(tile).Update();
    EXPECT_EQ(audio.CallsStartingWith("Play"), std::vector<std::string>{"Play m1 loop=0 overlap=1"});
    EXPECT_EQ(audio.CallsStartingWith("SetVolume m1").back(), "SetVolume m1 0.025") << "0.05 of the effects volume";
    SoundSystem::Install(nullptr);
}

TEST_F(TileHeight, WithoutALocalPlayerAPeerMovePlaysNothingAndStillMoves)
{
    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    Engine::EntityHandle tile = Tile(kHere);
    PeerBend(tile, 0, kHere, 1);
    Frames(60);
    EXPECT_TRUE(audio.CallsStartingWith("Play").empty());
    EXPECT_NEAR(Position(tile).y, kHere.y + 5.0f, 0.01f);
    SoundSystem::Install(nullptr);
}

// The peer's records arrive whenever the link brings them: each tells where
// the peer's tile rested and which way it stepped from there, and the tile
// here must end where the peer's did, whatever it was doing meanwhile.
TEST_F(TileHeight, PeerStepsEndWhereThePeersTileEndedWhateverThisTileWasDoing)
{
    struct Record {
        int afterFrames;
        std::int32_t level;
        float from;
        std::uint32_t direction;
    };
    struct Case {
        const char* what;
        bool risingIntoPlace;
        std::vector<Record> records;
        float end;
    };
    const std::vector<Case> cases{
        {"one raise at rest", false, {{0, 0, 0.0f, 1}}, 5.0f},
        {"a second raise while the first still moves", false, {{0, 0, 0.0f, 1}, {20, 1, 5.0f, 1}}, 10.0f},
        {"a lowering while the raise still moves", false, {{0, 0, 0.0f, 1}, {20, 2, 5.0f, 0}}, 0.0f},
        {"a raise and a lowering in one frame", false, {{0, 0, 0.0f, 1}, {0, 2, 5.0f, 0}}, 0.0f},
        {"a raise while the tile still rises into place", true, {{0, 0, 0.0f, 1}}, 5.0f},
    };
    for (const Case& test : cases) {
        Engine::SceneManager::SetIdle();
        Engine::SceneManager::DestroySceneImmediately();
        Engine::EntityHandle tile = Tile(kHere);
        if (test.risingIntoPlace) {
            Engine::Random::SeedWith(3);
            Height(tile).Start();
            Frames(2);
            ASSERT_EQ(HeightState(tile), "TileStartAnimation") << test.what;
        }
        for (const Record& record : test.records) {
            Frames(record.afterFrames);
            PeerBend(tile, record.level, kHere + glm::vec3(0.0f, record.from, 0.0f), record.direction);
        }
        Frames(500);
        EXPECT_EQ(HeightState(tile), "TileStay") << test.what;
        EXPECT_TRUE(Near(Position(tile), kHere + glm::vec3(0.0f, test.end, 0.0f), 0.05f)) << test.what;
    }
}

// Both players bend the tile a link's delay apart, each from the height the
// other has not seen yet: both sides end at the host's bend. A client's bend
// made after it saw the host's still counts.
TEST_F(TileHeight, BendsOfOneTileFromBothSidesAtOnceEndAtTheHostsOnBothSides)
{
    struct Case {
        const char* what;
        bool host;
        bool raisesHere;
        int peerAfterFrames;
        std::int32_t peerLevel;
        float peerFrom;
        float end;
    };
    const Case cases[] = {
        {"host: the client's lowering lands while the raise moves", true, true, 20, 1, 0.0f, 5.0f},
        {"host: the client's lowering lands after the raise", true, true, 80, 1, 0.0f, 5.0f},
        {"host: the client lowers once it saw the raise", true, true, 80, 2, 5.0f, 0.0f},
        {"client: the host's lowering lands while the raise moves", false, true, 20, 1, 0.0f, -5.0f},
        {"client: the host's lowering lands after the raise", false, true, 80, 1, 0.0f, -5.0f},
        {"client: the host's raise lands after the lowering", false, false, 80, 0, 0.0f, 5.0f},
    };
    NetworkMgr& network = NetworkMgr::GetInstance();
    for (const Case& test : cases) {
        Engine::SceneManager::SetIdle();
        Engine::SceneManager::DestroySceneImmediately();
        network.server = test.host ? 1 : 0;
        Engine::EntityHandle tile = Tile(kHere);
        TileLogicComponent& component = Component(tile);
        component.SetSelected(true);
        (test.raisesHere ? component.mRaiseRequest : component.mLowerRequest) = 1;
        component.NoteBendSent();
        Frames(test.peerAfterFrames);
        PeerBend(tile, test.peerLevel, kHere + glm::vec3(0.0f, test.peerFrom, 0.0f), test.raisesHere ? 0 : 1);
        component.SetSelected(false);
        Frames(200);
        EXPECT_TRUE(Near(Position(tile), kHere + glm::vec3(0.0f, test.end, 0.0f), 0.05f)) << test.what;
    }
    network.server = 0;
}

// Once the arena has turned, the tile's own place is not a world place: the
// peer's record still names where the tile stands, and it steps from there.
// The peer's arena turns a link's delay apart from this one, so a record
// made while the arena turns names a place turned a little further (or
// less): the tile takes the peer's height from it, not its place across.
TEST_F(TileHeight, APeerStepAfterTheArenaTurnedStartsWhereTheTileStands)
{
    struct Case {
        const char* what;
        float peerTurnedFurther;
        float peerStoodHigher;
    };
    const Case cases[] = {
        {"the peer's arena turned as far", 0.0f, 0.0f},
        {"the peer's arena a third of a turn ahead", 1.0f, 0.0f},
        {"the peer's arena a little behind, its tile a step higher", -0.05f, 5.0f},
    };
    const glm::vec3 axis(0.0f, 0.0f, 1.0f);
    // Half a turn about the depth axis, as the flip leaves each side, where
    // the tile's line of travel lies where it lay before the turn; and a
    // quarter, as the flip passes, where it lies across its old one.
    for (const float turn : {glm::pi<float>(), glm::half_pi<float>()}) {
        for (const Case& test : cases) {
            Engine::SceneManager::SetIdle();
            Engine::SceneManager::DestroySceneImmediately();
            Engine::EntityHandle side = Engine::EntityMgr::GetInstance().CreateEntity();
            Engine::TransformCompManager::GetInstance().AddComponent(side);
            Engine::EntityHandle tile = Tile(kHere);
            Engine::Transform::SetParent(tile, side);
            Engine::Transform::Rotate(side, turn, axis);
            const glm::vec3 standing = Position(tile);
            ASSERT_GT(glm::distance(standing, kHere), 1.0f) << "the turn moved the tile";
            const glm::vec3 up = glm::rotate(glm::vec3(0.0f, 1.0f, 0.0f), turn, axis);
            const glm::vec3 peerPlace = glm::rotate(standing + up * test.peerStoodHigher, test.peerTurnedFurther, axis);

            PeerBend(tile, 4, peerPlace, 1);
            Frames(1);
            EXPECT_TRUE(Near(Position(tile), standing + up * test.peerStoodHigher, 0.5f))
                << test.what << ", turned " << turn << ": no jump across the arena";
            Frames(60);
            const float size = Component(tile).tile_size.value;
            EXPECT_TRUE(Near(Position(tile), standing + up * (test.peerStoodHigher + size), 0.05f))
                << test.what << ", turned " << turn;
        }
    }
}

// A level or a place no tile of the arena can take is no height but the
// peer's fault: the record is dropped with a word, and the tile stays as
// it was and bends on from there. The farthest the arena holds is taken.
TEST_F(TileHeight, PeerBendsBeyondWhatTheArenaHoldsAreRefused)
{
    Engine::EntityHandle tile = Tile(kHere);
    TileLogicComponent& component = Component(tile);
    const std::int32_t limit = component.LevelLimit();
    ASSERT_GT(limit, 20) << "a tile of the arena crosses it in some 30 steps";
    ASSERT_LT(limit, 40);
    struct Case {
        const char* what;
        std::int32_t level;
        glm::vec3 from;
    };
    const Case cases[] = {
        {"the largest level", std::numeric_limits<std::int32_t>::max(), kHere},
        {"the smallest level", std::numeric_limits<std::int32_t>::min(), kHere},
        {"a level past the arena's", limit + 1, kHere},
        {"a level below the arena's", -limit - 1, kHere},
        {"a place 100000 away", 3, {1e5f, kHere.y, 0.0f}},
        {"a place too far to measure", 3, {1e38f, kHere.y, 0.0f}},
    };
    for (const Case& test : cases) {
        const std::string printed = StderrOf([&] { PeerBend(tile, test.level, test.from, 1); });
        EXPECT_NE(printed.find("[Tile] Dropped the peer's message"), std::string::npos) << test.what;
        Frames(60);
        EXPECT_EQ(component.mLevel, 0) << test.what;
        EXPECT_TRUE(Near(Position(tile), kHere)) << test.what;
    }
    component.SetSelected(true);
    component.mRaiseRequest = 1;
    Frames(60);
    EXPECT_EQ(component.mLevel, 1);
    component.SetSelected(false);

    const float size = component.tile_size.value;
    PeerBend(tile, -limit, kHere - glm::vec3(0.0f, size * static_cast<float>(limit), 0.0f), 1);
    Frames(60);
    EXPECT_EQ(component.mLevel, -limit);
    EXPECT_TRUE(Near(Position(tile), kHere - glm::vec3(0.0f, size * static_cast<float>(limit - 1), 0.0f), 0.05f));
}

TEST_F(TileHeight, MachinesLeftWithoutTheirTileComponentStandStill)
{
    Engine::EntityHandle tile = Tile(kHere);
    Component(tile).SetSelected(true);
    Engine::StateMachine& height = Height(tile);
    Engine::LogicManager::GetInstance().RemoveFirst<TileLogicComponent>(tile);
    height.ChangeState("TileUp");
    Frames(60);
    EXPECT_EQ(height.GetCurrentState()->GetName(), "TileUp") << "no step without the tile's speed";
    EXPECT_TRUE(Near(Position(tile), kHere));
}

using TileColour = TileScene;

// A splash entity whose colour the tile takes.
Engine::EntityHandle Splash(const glm::vec3& colour)
{
    Engine::EntityHandle splash = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::LogicManager::GetInstance().AddComponent<ColourCollider>(splash);
    Engine::LogicManager::GetCompPtr<ColourCollider>(splash)->colour.value = colour;
    return splash;
}

void Touch(Engine::EntityHandle tile, Engine::EntityHandle other)
{
    Engine::CollisionEvent contact;
    contact.other = other;
    Engine::EventHandlerList::Raise(contact, tile);
}

TEST_F(TileColour, ASplashFlashesTheTileAndItFadesBack)
{
    Engine::EntityHandle tile = Tile(kHere);
    Frames(1);
    const glm::vec3 resting = CurrentPalette.Colour(TileTexCol);
    EXPECT_TRUE(Near(Wrapper(tile).mAmbientColor_1.value, resting));

    Touch(tile, Engine::EntityMgr::GetInstance().CreateEntity());
    Frames(1);
    EXPECT_EQ(Colour(tile).GetCurrentState()->GetName(), "GoBack") << "only a splash flashes a tile";

    const glm::vec3 red{1.0f, 0.0f, 0.0f};
    Touch(tile, Splash(red));
    Frames(1);
    EXPECT_EQ(Colour(tile).GetCurrentState()->GetName(), "ToColour");
    Frames(24);
    EXPECT_TRUE(Near(Wrapper(tile).mAmbientColor_1.value, red, 0.1f));
    Frames(2);
    EXPECT_EQ(Colour(tile).GetCurrentState()->GetName(), "GoBack") << "the flash lasts 0.25 s";
    Frames(27);
    EXPECT_TRUE(Near(Wrapper(tile).mAmbientColor_1.value, resting)) << "and the fade back 0.25 s";
}

TEST_F(TileColour, ASecondSplashBlendsToTheMiddleUnlessItIsTheSameColour)
{
    Engine::EntityHandle tile = Tile(kHere);
    const glm::vec3 red{1.0f, 0.0f, 0.0f};
    const glm::vec3 blue{0.0f, 0.0f, 1.0f};
    Touch(tile, Splash(red));
    Frames(6);
    const auto& flash = *Colour(tile).GetState<GoToColour>();
    const float elapsed = flash.elapsed;
    Touch(tile, Splash(red));
    EXPECT_EQ(flash.elapsed, elapsed) << "the same colour changes nothing";

    Touch(tile, Splash(blue));
    EXPECT_EQ(flash.elapsed, 0.0f);
    EXPECT_TRUE(Near(flash.target, {0.5f, 0.0f, 0.5f}));
}

TEST_F(TileColour, ASelectedTileShowsTheSelectionColoursWhateverFlashRuns)
{
    Engine::EntityHandle tile = Tile(kHere);
    TileLogicComponent::SetSelected(tile, true);
    Frames(1);
    EXPECT_TRUE(Near(Wrapper(tile).mAmbientColor_1.value, CurrentPalette.Colour(TileSelCol)));
    EXPECT_TRUE(Near(Wrapper(tile).mAmbientColor_0.value, CurrentPalette.Colour(TileSelAmb)));
    EXPECT_TRUE(Near(Wrapper(tile).mDiffuseColor.value, CurrentPalette.Colour(TileSelCol)));

    Touch(tile, Splash({1.0f, 0.0f, 0.0f}));
    Frames(3);
    EXPECT_TRUE(Near(Wrapper(tile).mAmbientColor_1.value, CurrentPalette.Colour(TileSelCol)));

    // A tile that is gone cannot be selected; nothing breaks.
    Engine::EntityMgr::GetInstance().DestroyEntity(tile);
    Engine::EntityMgr::GetInstance().Flush();
    TileLogicComponent::SetSelected(tile, false);
}

using TileRecording = TileScene;

TEST_F(TileRecording, LiveFramesTakeTheTileAndPlaybackPutsItBack)
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    Engine::EntityHandle tile = Tile(kHere, 2);
    recorder.isRecording = 1;
    recorder.live = MatchFrame(3);
    Component(tile).Update();
    EXPECT_EQ(recorder.live.tiles[2], (MatchTileRecord{kHere, {0, 1, 0}, {0, 0, 1}}));

    recorder.live = MatchFrame(2);
    Component(tile).Update();
    EXPECT_EQ(recorder.live.tiles, std::vector<MatchTileRecord>(2)) << "a number past the list writes nothing";

    auto frame = std::make_shared<MatchFrame>();
    recorder.isLive = 0;
    recorder.playback.push_back(frame);
    Component(tile).Update();
    EXPECT_TRUE(Near(Position(tile), kHere)) << "a frame without tiles moves no tile";

    frame->tiles.assign(3, MatchTileRecord{{1, 2, 3}, {1, 0, 0}, {0, 1, 0}});
    Component(tile).Update();
    EXPECT_TRUE(Near(Position(tile), {1, 2, 3}));
    EXPECT_TRUE(Near(*Engine::Transform::UpPtr(tile), {1, 0, 0}));
    recorder.playback.clear();
    recorder.isLive = 1;
}

// The arena's flip turns a side and its tiles with it. A replay that spans
// the flip shows each frame's tiles facing as they faced then, whichever
// way the side stands by the time the replay plays.
TEST_F(TileRecording, ATileFacesAsRecordedWhateverItsSideHasTurnedSince)
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    Engine::EntityHandle side = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(side);
    Engine::EntityHandle tile = Tile(kHere, 0);
    Engine::Transform::SetParent(tile, side);
    const auto worldUp = [&] { return glm::normalize(glm::mat3(Engine::Transform::GetWorldMatrix(tile)) * glm::vec3(0, 1, 0)); };
    const glm::vec3 upright = worldUp();

    // Recorded upright, under a side as built.
    recorder.isRecording = 1;
    recorder.live = MatchFrame(1);
    Component(tile).Update();
    const MatchTileRecord beforeFlip = recorder.live.tiles[0];
    EXPECT_TRUE(Near(beforeFlip.up, {0, 1, 0}));

    // The side turns a quarter about x: the tile turns with it, and the
    // record says where it faces in the world.
    Engine::Transform::Rotate(side, glm::half_pi<float>(), {1, 0, 0});
    const glm::vec3 turned = worldUp();
    ASSERT_FALSE(Near(turned, upright)) << "the side's turn reaches its tile";
    Component(tile).Update();
    const MatchTileRecord afterFlip = recorder.live.tiles[0];
    EXPECT_TRUE(Near(afterFlip.up, turned));
    EXPECT_TRUE(Near(*Engine::Transform::UpPtr(tile), {0, 1, 0})) << "recording leaves the tile alone";

    // Played back under the turned side, the frame from before the flip
    // stands upright again and the one from after stays turned.
    auto frame = std::make_shared<MatchFrame>(1);
    recorder.isLive = 0;
    recorder.playback.push_back(frame);
    for (const auto& [record, expected] : {std::pair{beforeFlip, upright}, std::pair{afterFlip, turned}}) {
        frame->tiles[0] = record;
        Component(tile).Update();
        EXPECT_TRUE(Near(worldUp(), expected)) << glm::to_string(record.up);
        EXPECT_NEAR(glm::length(*Engine::Transform::UpPtr(tile)), 1.0f, 1e-5f);
    }
    EXPECT_TRUE(Near(Position(tile), afterFlip.pos));
    recorder.playback.clear();
    recorder.isLive = 1;
}

TEST_F(TileRecording, InitialisingNamesTheTileByItsNumber)
{
    Engine::EntityHandle tile = Tile(kHere, 137);
    EXPECT_STREQ(Engine::EntityNameCompManager::GetInstance().GetName(tile), "Tile_137");
}

} // namespace
