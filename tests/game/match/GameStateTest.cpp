// Under Xvfb: the random arena events and the palette fade of a built match,
// driven frame by frame.
#include "MatchScene.h"

#include "engine/audio/Emitter.h"
#include "engine/core/Random.h"
#include "engine/render/CameraManager.h"
#include "engine/render/RenderCompManager.h"
#include "game/arena/MatchStats.h"
#include "game/components/music/AudioLogic.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/components/tile/TileHooks.h"
#include "game/match/ArenaDebugKeys.h"

#include <algorithm>
#include <glm/gtc/constants.hpp>
#include <sstream>

namespace {

using Engine::EntityHandle;

// The raw generator results that make RangeInt(0, 2) give 0, 1 and 2.
int DrawsZero() { return 0; }
int DrawsOne() { return 16384; }
int DrawsTwo() { return 32767; }
constexpr Engine::Random::Source kDrawKind[] = {&DrawsZero, &DrawsOne, &DrawsTwo};

class ArenaEvents : public MatchScene {
protected:
    // A new match whose first event will be `kind`.
    void StartWithNextKind(int kind)
    {
        Engine::Random::SetSource(kDrawKind[kind]);
        GameState::Reset();
        Engine::Random::SetSource(nullptr);
    }

    // The timer just short of the period: the next frames cross it.
    void JustBeforeExpiry() { State().eventTimer = State().eventPeriod - 0.015f; }

    // Until the event's announcement is over and it has taken effect.
    void PastTheAnnouncement() { Frames(static_cast<int>(State().announceDelay * 25.0f) + 2, 40); }

    int CrashingTileCount() const
    {
        int count = 0;
        for (EntityHandle tile : Grid().tiles) {
            if (const auto* list = Engine::LogicManager::GetInstance().FindComponents(tile)) {
                for (Engine::LogicComp* component : *list)
                    count += dynamic_cast<CrashingTile*>(component) != nullptr;
            }
        }
        return count;
    }

    std::size_t CooldownRequests() const
    {
        return audio.CallsStartingWith("Play data/Sounds/Sfx/EventCooldown.wav").size();
    }
};

TEST_F(ArenaEvents, ResetStartsTheEventCycleAndDrawsTheFirstKind)
{
    BuildMatch(1);
    for (int kind : {0, 1, 2}) {
        State().eventTimer = 12.0f;
        State().arenaFlipped = 1;
        State().flipPending = 1;
        StartWithNextKind(kind);
        EXPECT_EQ(State().nextEventKind, kind);
        EXPECT_EQ(State().eventPeriod, 60.0f);
        EXPECT_EQ(State().eventTimer, 0.0f);
        EXPECT_EQ(State().announceDelay, 4.0f);
        EXPECT_EQ(State().flipDuration, 2.0f);
        EXPECT_EQ(State().flipAngle, glm::pi<float>());
        EXPECT_EQ(State().flipAxis, glm::vec3(0.0f, 0.0f, 1.0f));
        EXPECT_EQ(State().paletteFadeTimer, -1.0f);
        EXPECT_EQ(State().flipPending, 0);
        EXPECT_EQ(State().arenaFlipped, 0);
        EXPECT_EQ(State().mousePlayer, Players().at(0));
    }
    EXPECT_GT(MatchStats::GetInstance().matchStartTime, 0u);
}

// The first event fires in the frame the timer first passes 60 s, of the
// kind drawn at the match start; the next kind is drawn then.
TEST_F(ArenaEvents, FirstEventFiresWhenTheTimerPassesThePeriodWithTheKindDrawnAtReset)
{
    BuildMatch(1);
    for (int kind : {0, 1, 2}) {
        SCOPED_TRACE(kind);
        StartWithNextKind(kind);
        JustBeforeExpiry();
        Frame();
        EXPECT_FALSE(State().announcing);
        EXPECT_GT(State().eventTimer, 59.99f);
        Engine::Random::SetSource(&DrawsTwo);
        Frame();
        Engine::Random::SetSource(nullptr);
        EXPECT_TRUE(State().announcing);
        EXPECT_EQ(State().crashPending, kind == 0);
        EXPECT_EQ(State().flipPending, kind == 1);
        EXPECT_EQ(State().goalBallPending, kind == 2);
        EXPECT_EQ(State().nextEventKind, 2);
        EXPECT_LT(State().eventTimer, 0.02f);
        // Only the flip fades the arena to black.
        EXPECT_EQ(State().paletteFadeTimer >= 0.0f, kind == 1);
        GameState::ResetEvents(true);
    }
}

TEST_F(ArenaEvents, ANetworkedClientsTimerRunsButNeverFires)
{
    BuildMatch(1);
    StartWithNextKind(0);
    NetworkMgr::GetInstance().connected = 1;
    NetworkMgr::GetInstance().server = 0;
    State().eventTimer = 59.5f;
    for (int i = 0; i < 200; ++i) {
        time.Frame(10);
        GameState::Update();
    }
    EXPECT_GT(State().eventTimer, 61.0f);
    EXPECT_FALSE(State().announcing);
    EXPECT_FALSE(State().crashPending);
    EXPECT_EQ(State().nextEventKind, 0);
}

// Crashing tiles: announced for 4 s with the cool-down sound every frame,
// then three tiles shoot out of their walls and the cycle starts over.
TEST_F(ArenaEvents, CrashingTilesAreAnnouncedThenThreeTilesShootOut)
{
    BuildMatch(1);
    StartWithNextKind(0);
    JustBeforeExpiry();
    Frames(2);
    ASSERT_TRUE(State().crashPending);
    const std::size_t before = CooldownRequests();
    Frames(200);
    EXPECT_EQ(CooldownRequests() - before, 200u);
    EXPECT_EQ(CrashingTileCount(), 0);
    int frames = 0;
    for (; State().crashPending && frames < 300; ++frames)
        Frame();
    // 4 s after the announcement, within a frame.
    EXPECT_NEAR(static_cast<float>(frames), 200.0f, 2.0f);
    EXPECT_EQ(CrashingTileCount(), 3);
    EXPECT_FALSE(State().announcing);
    EXPECT_LT(State().eventTimer, 0.015f);
    int active = 0;
    for (EntityHandle tile : Grid().tiles) {
        if (const CrashingTile* crash = Find<CrashingTile>(tile)) {
            active += crash->mActive;
            EXPECT_EQ(Find<TileLogicComponent>(tile)->tile_type.value, TileLogicComponent::Crashing);
        }
    }
    // A tile that stopped on another in that frame is no longer active.
    EXPECT_GE(active, 1);
}

// An arena too small to pick from: every pick is reported and skipped,
// and the event still ends.
TEST_F(ArenaEvents, APickThatFindsNoTileIsReportedAndSkipped)
{
    GridCreation::SetDefaultSettings();
    Grid().rows.fill(3);
    Grid().cols.fill(5);
    BuildMatch(1);
    StartWithNextKind(0);
    JustBeforeExpiry();
    Frames(2);
    const std::string said = StderrOf([this] { PastTheAnnouncement(); });
    EXPECT_NE(said.find("Random tile was not valid.\n"), std::string::npos);
    EXPECT_EQ(CrashingTileCount(), 0);
    EXPECT_FALSE(State().crashPending);
    GridCreation::SetDefaultSettings();
}

TEST_F(ArenaEvents, TheGoalBallEventReleasesTheGoalBall)
{
    BuildMatch(1);
    StartWithNextKind(2);
    JustBeforeExpiry();
    Frames(2);
    EXPECT_FALSE(GoalBall::Alive());
    PastTheAnnouncement();
    EXPECT_TRUE(GoalBall::Alive());
    EXPECT_EQ(Named("GoalBall").size(), 1u);
    EXPECT_FALSE(State().goalBallPending);
    EXPECT_LT(State().eventTimer, 0.1f);
}

// The flip: both players are held still and the event music starts while
// it is announced; then the arena turns half a turn about z in 2 s, the
// sides snap to exactly upside down, and a second flip turns it back.
TEST_F(ArenaEvents, AFlipTurnsTheArenaExactlyHalfATurnAndSnapsTheSides)
{
    BuildMatch(2);
    const std::vector<HexGrid::Frame> start = Grid().sideFrames;
    std::vector<glm::vec3> ups;
    for (EntityHandle side : Grid().sides)
        ups.push_back(*Engine::Transform::UpPtr(side));
    const EntityHandle tile = Grid().Tile(700);
    glm::vec3 tileAt{0.0f};

    for (int flip = 1; flip <= 2; ++flip) {
        SCOPED_TRACE(flip);
        StartWithNextKind(1);
        State().arenaFlipped = flip == 2;
        JustBeforeExpiry();
        Frames(2);
        ASSERT_TRUE(State().flipPending);
        for (EntityHandle player : Players())
            EXPECT_TRUE(Component(player).mStaticRequest || Component(player).StateNameOf(0) == "Static");
        Frames(2);
        EXPECT_TRUE(Find<AudioLogic>(Players()[0])->event_playing);
        // The tiles have risen into place by the second flip.
        Engine::TransformCompManager::GetInstance().Update();
        tileAt = Engine::Transform::GetWorldPosition(tile);
        int frames = 0;
        for (; State().announcing && frames < 300; ++frames)
            Frame(20);
        EXPECT_NEAR(static_cast<float>(frames), 200.0f, 2.0f);
        EXPECT_TRUE(State().flipPending);
        for (frames = 0; State().flipPending && frames < 200; ++frames)
            Frame(20);
        EXPECT_NEAR(static_cast<float>(frames), 100.0f, 2.0f);
        EXPECT_EQ(State().arenaFlipped, flip == 1);
        EXPECT_EQ(State().flipTimer, 0.0f);
        const float sign = flip == 1 ? -1.0f : 1.0f;
        for (std::size_t side = 0; side < Grid().sides.size(); ++side) {
            EXPECT_EQ(*Engine::Transform::UpPtr(Grid().sides[side]), sign * ups[side]) << side;
            EXPECT_EQ(Grid().sideFrames[side].up, sign * start[side].up) << side;
            EXPECT_EQ(Grid().sideFrames[side].right, sign * start[side].right) << side;
        }
        EXPECT_EQ(TileHooks::ArenaFlipped(), flip == 1);
    }
    // Half a turn about z: x and y change sign.
    Engine::TransformCompManager::GetInstance().Update();
    const glm::vec3 turned = Engine::Transform::GetWorldPosition(tile);
    EXPECT_NEAR(glm::distance(turned, glm::vec3(-tileAt.x, -tileAt.y, tileAt.z)), 0.0f, 0.5f);
}

// A quarter of the way through the turn, the arena leans at 45 degrees and
// has begun to go dark.
TEST_F(ArenaEvents, MidFlipScreenshot)
{
    // The first palette, not whichever the tests before left the generator
    // at: the arena wears the same colours from run to run.
    Engine::Random::SetSource(&DrawsZero);
    BuildMatch(2);
    Engine::Random::SetSource(nullptr);
    StartWithNextKind(1);
    JustBeforeExpiry();
    Frames(2);
    // The tiles rise into place while the flip is announced.
    while (State().flipPending && State().flipTimer < 0.5f)
        Frame(State().announcing ? 20 : 10);
    ASSERT_TRUE(State().flipPending);
    for (EntityHandle player : Players())
        Engine::CameraManager::GetInstance().GetCompPtr(player)->Update();
    EXPECT_NEAR(std::abs(Engine::Transform::UpPtr(Grid().sides[1])->y), std::sqrt(0.5f), 0.03f);
    Engine::Renderer::GetInstance().Render();
    EXPECT_TRUE(DrainGlErrors().empty());
    EXPECT_TRUE(SaveScreenshot("arena_event_mid_flip"));
}

// The flip starts the fade; it goes on past the end of the turn and ends 8 s
// after it began, on the black palette.
TEST_F(ArenaEvents, AFlipFadesTheArenaToTheBlackPaletteInEightSeconds)
{
    BuildMatch(1);
    Palette black;
    ASSERT_TRUE(black.LoadFromFile(kBlackPaletteFile));
    StartWithNextKind(1);
    JustBeforeExpiry();
    Frame(20);
    ASSERT_TRUE(State().flipPending);
    ASSERT_EQ(State().paletteFadeTimer, 0.0f);
    const Palette start = State().fromPalette;
    Frames(200, 20);
    // Half way in time, three quarters of the way in colour.
    const float expected = start.values[TileDiff] + (black.values[TileDiff] - start.values[TileDiff]) * 0.75f;
    EXPECT_NEAR(CurrentPalette.values[TileDiff], expected, 0.01f);
    EXPECT_EQ(Engine::Renderer::GetInstance().emissiveColour, CurrentPalette.Colour(BorderEmissive));
    int frames = 200;
    for (; State().flipPending && frames < 400; ++frames)
        Frame(20);
    EXPECT_NEAR(static_cast<float>(frames), 300.0f, 2.0f) << "the turn ends 6 s in";
    EXPECT_GT(State().paletteFadeTimer, 5.9f) << "the fade goes on";
    for (; State().paletteFadeTimer >= 0.0f && frames < 500; ++frames)
        Frame(20);
    EXPECT_NEAR(static_cast<float>(frames), 400.0f, 1.0f);
    EXPECT_EQ(CurrentPalette.values, black.values);
}

// While a replay plays nothing here runs: no timer, no fade, no colours.
TEST_F(ArenaEvents, NothingRunsWhileAReplayPlays)
{
    BuildMatch(1);
    GameState::ResetPalettes();
    State().eventTimer = 59.99f;
    const Palette before = CurrentPalette;
    Engine::Renderer::GetInstance().emissiveColour = glm::vec3(0.25f);
    MatchRecorder::GetInstance().isLive = 0;
    for (int i = 0; i < 10; ++i) {
        time.Frame(10);
        GameState::Update();
    }
    MatchRecorder::GetInstance().isLive = 1;
    EXPECT_EQ(State().eventTimer, 59.99f);
    EXPECT_EQ(State().paletteFadeTimer, 0.0f);
    EXPECT_FALSE(State().announcing);
    EXPECT_EQ(CurrentPalette.values, before.values);
    EXPECT_EQ(Engine::Renderer::GetInstance().emissiveColour, glm::vec3(0.25f));
}

// The hooks the built match answers: the peer's flip, the end of play and
// the end of the replay.
TEST_F(ArenaEvents, TheMatchAnswersThePeersFlipTheEndOfPlayAndTheEndOfTheReplay)
{
    BuildMatch(1);
    const PlayerHooks& hooks = PlayerHooks::Get();
    ASSERT_NE(hooks.startArenaFlip, nullptr);
    hooks.startArenaFlip();
    EXPECT_TRUE(State().flipPending);
    EXPECT_TRUE(State().announcing);
    EXPECT_EQ(State().paletteFadeTimer, 0.0f);

    GameMode::EndRequested = 0;
    ASSERT_NE(hooks.requestEndOfPlay, nullptr);
    hooks.requestEndOfPlay();
    EXPECT_EQ(GameMode::EndRequested, 1);

    GameMode::ReturnRequested = 0;
    const auto finished = MatchRecorder::GetInstance().GetReplayHooks().playbackFinished;
    ASSERT_NE(finished, nullptr);
    finished();
    EXPECT_EQ(GameMode::ReturnRequested, 1);
    EXPECT_NE(hooks.spawnGoalBallQuietly, nullptr);
    EXPECT_NE(hooks.spawnForcefield, nullptr);
}

// The first local player gone in the middle of a flip's announcement: the
// sound of the gone one is not asked for, and the second takes over.
TEST_F(ArenaEvents, AGoneLocalPlayerIsNotUsedAndTheNextOneTakesOver)
{
    BuildMatch(2);
    const EntityHandle first = Players()[0];
    const EntityHandle second = Players()[1];
    StartWithNextKind(1);
    JustBeforeExpiry();
    Frames(2);
    ASSERT_EQ(State().mousePlayer, first);
    Engine::EntityMgr::GetInstance().DestroyEntity(first);
    Engine::EntityMgr::GetInstance().Flush();
    Frames(3);
    EXPECT_EQ(State().mousePlayer, second);
    EXPECT_TRUE(Component(second).mStaticRequest || Component(second).StateNameOf(0) == "Static");
}

// Both players of a match on one machine are held for the turn and walk
// again together once it is over.
// Player 1 is held at x = 10 during the flip, over what the ceiling at
// x = -10 becomes: lowered four steps, it turns into a column that comes up
// round the held player's feet.
TEST_F(ArenaEvents, AfterAFlipBothLocalPlayersAreFreeAtOnceAndStandOnTheFloorTheyWereTurnedOnto)
{
    BuildMatch(2);
    Frames(160, 20); // past the opening descent
    auto across = [](EntityHandle tile) {
        const glm::vec3 at = Engine::Transform::GetWorldPosition(tile);
        return at.y < 50.0f ? 1e9f : glm::distance(glm::vec2(at.x, at.z), glm::vec2(-10.0f, 0.0f));
    };
    const EntityHandle column = *std::min_element(Grid().tiles.begin(), Grid().tiles.end(),
                                                  [&](EntityHandle a, EntityHandle b) { return across(a) < across(b); });
    TileLogicComponent& lowered = *Find<TileLogicComponent>(column);
    for (int step = 0; step < 4; ++step) {
        lowered.SetSelected(true);
        lowered.mRaiseRequest = 1;
        Frames(30, 20);
    }
    ASSERT_EQ(lowered.mLevel, 4);
    const float standing = Engine::Transform::GetWorldPosition(Players()[1]).y;
    StartWithNextKind(1);
    JustBeforeExpiry();
    Frames(2);
    ASSERT_TRUE(State().flipPending);
    for (int frames = 0; State().flipPending && frames < 400; ++frames)
        Frame(20);
    Frames(50, 20);
    for (EntityHandle player : Players()) {
        EXPECT_FALSE(Component(player).mStaticRequest) << Component(player).mPlayerNumber;
        EXPECT_EQ(Component(player).StateNameOf(0), "Move") << Component(player).mPlayerNumber;
    }
    Frames(150, 20);
    Engine::TransformCompManager::GetInstance().Update();
    const float columnTop = Engine::Transform::GetWorldPosition(column).y + Engine::Transform::ScalePtr(column)->y;
    const float hover = Component(Players()[0]).LevitScale.value + 0.5f * Engine::Transform::ScalePtr(Players()[0])->y;
    EXPECT_NEAR(Engine::Transform::GetWorldPosition(Players()[0]).y, columnTop + hover, 1e-3f);
    EXPECT_NEAR(Engine::Transform::GetWorldPosition(Players()[1]).y, standing, 1e-3f);
}

TEST_F(ArenaEvents, EndingAnEventFreesThePlayerAndRestartsTheTimerOnlyWhenAsked)
{
    BuildMatch(1);
    Player_LogicComp& player = Component(Players()[0]);
    for (bool restart : {false, true}) {
        player.mStaticRequest = true;
        State().eventTimer = 30.0f;
        State().flipPending = State().announcing = 1;
        State().announceTimer = State().flipTimer = 1.0f;
        GameState::ResetEvents(restart);
        EXPECT_FALSE(player.mStaticRequest);
        EXPECT_FALSE(State().flipPending || State().announcing);
        EXPECT_EQ(State().announceTimer, 0.0f);
        EXPECT_EQ(State().flipTimer, 0.0f);
        EXPECT_EQ(State().eventTimer, restart ? 0.0f : 30.0f);
    }
}

TEST(JoinAddress, OneWordIsReadAndEmptyOrClosedInputGivesNothing)
{
    struct Case {
        const char* typed;
        const char* address; // null: nothing to join
    };
    const Case cases[] = {
        {"192.168.1.20\n", "192.168.1.20"},
        {"  c  \n", "127.0.0.1"},
        {"abcdefghijklmnopqrstuvwxyz\n", "abcdefghijklmnopqrstu"},
        {"", nullptr},
        {"   \n\n", nullptr},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.typed);
        const std::optional<std::string> address = ArenaDebugKeys::ReadJoinAddress(in);
        ASSERT_EQ(address.has_value(), c.address != nullptr) << c.typed;
        if (c.address) {
            EXPECT_EQ(*address, c.address);
        }
    }
}

} // namespace
