#include "MatchHarness.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/CameraManager.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/Window.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/ball/TempBallComp.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/config/UserConfig.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/modes/GameplayMode.h"
#include "support/LateRescue.h"
#include "support/VirtualPad.h"

#include <chrono>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

// A local two-player match, started as the mode loop starts it.
class GameplayModeRun : public MatchHarness {
protected:
    void SetUp() override
    {
        MatchHarness::SetUp();
        GameScene::PlayerCount = 2;
        GameMode::Current = GameMode::Gameplay;
        StdoutOf([] { GameplayMode::Init(); });
    }
    void TearDown() override
    {
        StdoutOf([] { GameplayMode::Shutdown(); });
        MatchHarness::TearDown();
    }

    static MatchRecorder& Recorder() { return MatchRecorder::GetInstance(); }
    static bool MenuOpen() { return Layers().Find("PauseMenu") != nullptr; }
    static bool EnginePaused() { return Engine::Core::GetInstance().IsPaused(); }

    // Escape, and the frame after it that shows the menu.
    void OpenWithEscape()
    {
        Tap(SDL_SCANCODE_ESCAPE);
        ASSERT_TRUE(MenuOpen());
    }

    // Turns of the mode loop. In a networked match the link is up while the
    // mode looks at it; the engine frame has no peer to send to.
    bool networked = false;
    void Turns(int count)
    {
        for (int i = 0; i < count; ++i) {
            EngineFrame();
            NetworkMgr::GetInstance().connected = networked ? 1 : 0;
            GameMode::Current.Update();
            NetworkMgr::GetInstance().connected = 0;
        }
    }

    // The two local players, once the players are down and the teleport
    // perk (4.5 s) is ready.
    std::vector<Player_LogicComp*> PlayersDown()
    {
        frameMilliseconds = 32;
        Frames(150);
        std::vector<Player_LogicComp*> players;
        for (Engine::EntityHandle entity : Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse"))
            players.push_back(Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity));
        return players;
    }
    static TempBallComp& BallOf(const Player_LogicComp* player)
    {
        return *Engine::LogicManager::GetCompPtr<TempBallComp>(player->mBall);
    }
    static glm::vec3 ViewOf(const Player_LogicComp* player)
    {
        return Engine::CameraManager::GetInstance().GetCompPtr(player->GetOwner())->forward;
    }

    // The pointer, in window pixels, and its buttons.
    static inline glm::ivec2 sPointer{0, 0};
    static void PointAt(int x, int y)
    {
        sPointer = {x, y};
        Engine::InputHost host = Input().GetHost();
        host.mouseState = [](int* px, int* py) {
            *px = sPointer.x;
            *py = sPointer.y;
            return sMouseButtons;
        };
        Input().SetHost(host);
    }
    static void MoveMouse(int dx, int dy) { InjectedMotion::Push(dx, dy); }
};

TEST_F(GameplayModeRun, LocalPauseStopsLogicPhysicsAndTheRecorderWhileTheGameStateGoesOn)
{
    Frames(3);
    EXPECT_FALSE(Input().cursorVisible) << "the mouse is captured in play";
    OpenWithEscape();
    EXPECT_TRUE(GameMode::PauseMenuOpen);
    EXPECT_TRUE(GameMode::Paused);
    EXPECT_TRUE(EnginePaused());
    Frame();
    EXPECT_TRUE(SaveScreenshot("match-pause-menu"));
    EXPECT_TRUE(Input().cursorVisible) << "the menu needs the pointer";

    const std::size_t recorded = Recorder().ring.size();
    const float eventTimer = GameState::GetInstance().eventTimer;
    Frames(10);
    EXPECT_EQ(Recorder().ring.size(), recorded) << "the recorder stands still";
    EXPECT_GT(GameState::GetInstance().eventTimer, eventTimer) << "arena events keep their time";

    Tap(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(MenuOpen());
    EXPECT_FALSE(GameMode::Paused);
    EXPECT_FALSE(EnginePaused());
    Frames(2);
    EXPECT_GT(Recorder().ring.size(), recorded);
    EXPECT_FALSE(Input().cursorVisible);
}

TEST_F(GameplayModeRun, LosingFocusOpensThePauseMenuAndComingBackLeavesItOpen)
{
    Frames(2);
    sFocused = false;
    Frames(2);
    EXPECT_TRUE(MenuOpen());
    EXPECT_TRUE(EnginePaused());
    sFocused = true;
    Frames(5);
    EXPECT_TRUE(MenuOpen());
    EXPECT_EQ(Layers().Size(), 1u) << "opened once";
}

TEST_F(GameplayModeRun, ReplayClosesAnOpenPauseMenuAndNothingOpensOneWhileItPlays)
{
    // A replay longer than the test's frames.
    Frames(40);
    OpenWithEscape();
    GameMode::EndRequested = 1;
    Frame();
    EXPECT_FALSE(Recorder().isLive) << "the end of play starts the replay";
    EXPECT_FALSE(GameMode::EndRequested);
    Frame();
    EXPECT_FALSE(MenuOpen());
    EXPECT_FALSE(EnginePaused());

    for (int i = 0; i < 5; ++i) {
        Tap(SDL_SCANCODE_ESCAPE);
        EXPECT_FALSE(MenuOpen()) << "Escape does nothing in a replay";
    }
    // Losing focus opens no menu, and losing the link leaves the replay playing.
    sFocused = false;
    NetworkMgr::GetInstance().disconnecting = 1;
    for (int i = 0; i < 6; ++i) {
        Frame();
        EXPECT_FALSE(MenuOpen()) << "frame " << i << " without focus";
    }
    NetworkMgr::GetInstance().disconnecting = 0;
    EXPECT_FALSE(Recorder().isLive) << "still replaying";
    EXPECT_FALSE(GameMode::ChangeRequested);

    // The replay ends with the window still away: the title's page comes
    // next, alone, with no pause menu asked for on the way out over it.
    GameMode::ReturnRequested = 1;
    Frame();
    ASSERT_TRUE(GameMode::ChangeRequested);
    StdoutOf([] { GameplayMode::Shutdown(); });
    Layers().Push(nullptr, "Title Screen");
    Layers().Update();
    EXPECT_FALSE(MenuOpen());
    EXPECT_EQ(Layers().Size(), 1u);
}

// A networked match runs on behind its pause menu, whose pointer is the
// players' mouse: the menu's click, the bending key and the perk key reach
// the menu alone.
TEST_F(GameplayModeRun, NetworkedPauseMenuPausesNothingAndKeepsItsInputFromThePlay)
{
    const std::vector<Player_LogicComp*> players = PlayersDown();
    ASSERT_EQ(players.size(), 2u);
    networked = true;
    held.insert(SDL_SCANCODE_ESCAPE);
    Turns(1);
    held.clear();
    Turns(1);
    EXPECT_TRUE(MenuOpen());
    EXPECT_TRUE(GameMode::PauseMenuOpen);
    EXPECT_FALSE(GameMode::Paused);
    EXPECT_FALSE(EnginePaused());

    // A left click on the middle button, the options, at the window's centre;
    // then E (raise the aimed tile) and left Ctrl (the perk).
    PointAt(kWindowWidth / 2, kWindowHeight / 2);
    sMouseButtons = SDL_BUTTON_LMASK;
    Turns(1);
    sMouseButtons = 0;
    Turns(2);
    EXPECT_NE(Layers().Find("Options"), nullptr) << "the menu took the click";
    held = {SDL_SCANCODE_E, SDL_SCANCODE_LCTRL};
    Turns(3);
    held.clear();
    Turns(1);
    for (const Player_LogicComp* player : players) {
        ASSERT_TRUE(player->mCanAct) << "in play, behind the menu";
        EXPECT_EQ(BallOf(player).FlightStateName(), "BallIdle") << "the ball stays in the hand";
        EXPECT_EQ(player->Energy.value, player->MaxEnergy.value) << "no tile raised, no perk fired";
    }

    // Q catches a returning ball, R stops a slowing one: neither behind the
    // menu. Each ball is out, far above its owner.
    for (const char* flight : {"BallReturn", "BallDesintegrate"}) {
        for (const Player_LogicComp* player : players)
            BallOf(player).FlightMachine()->ChangeState(flight);
        Turns(1);
        for (const Player_LogicComp* player : players) {
            const Engine::EntityHandle ball = player->mBall;
            Engine::Transform::SetWorldPosition(ball, Engine::Transform::GetWorldPosition(player->GetOwner()) +
                                                          glm::vec3(0.0f, 30.0f, 0.0f));
            Engine::CollisionMgr::GetInstance().FindComp(ball)->mVelocity.value = glm::vec3(0.0f, 5.0f, 0.0f);
        }
        held = {SDL_SCANCODE_Q, SDL_SCANCODE_R};
        Turns(1);
        held.clear();
        Turns(1);
        for (const Player_LogicComp* player : players)
            EXPECT_EQ(BallOf(player).FlightStateName(), flight);
    }
}

// The menu closes on the press of Resume. The click still held (with the
// hold-speed perk it would charge the shot and throw the ball when let go)
// and the pointer's way over the menu, until the mouse is captured again,
// give the play nothing; then the mouse turns the view and shoots again. A
// walk and a run held through it go on, on the keys as on the pad.
TEST_F(GameplayModeRun, ClosingThePauseMenuHandsThePlayNothingOfWhatWasDoneInIt)
{
    // Both players carry the hold-speed perk; player 1 plays on a pad.
    GameModifiers::GetPerks().Passive.value = GameModifiers::GetPerks().Passive2.value = 1;
    PluggedPad pad;
    Turns(1);
    GameScene::PlayerUsesGamepad[0] = true;
    StdoutOf([] {
        GameplayMode::Shutdown();
        GameplayMode::Init();
    });
    const std::vector<Player_LogicComp*> players = PlayersDown();
    ASSERT_EQ(players.size(), 2u);
    ASSERT_EQ(players[0]->mPassiveKind, Player_LogicComp::kHoldSpeed);
    ASSERT_TRUE(InputBindings::ForPlayer(1).UsesController);
    const Player_LogicComp* onKeys = players[0]->mPlayerNumber == 2 ? players[0] : players[1];
    for (const bool overNetwork : {false, true}) {
        SCOPED_TRACE(overNetwork ? "networked" : "local");
        networked = overNetwork;
        std::vector<glm::vec3> views;
        for (const Player_LogicComp* player : players)
            views.push_back(ViewOf(player));
        held.insert(SDL_SCANCODE_ESCAPE);
        Turns(1);
        held.clear();
        Turns(1);
        ASSERT_TRUE(MenuOpen());

        // Onto Resume, the top button; pressed from the third frame for
        // eight (130 ms), the hand moving on, W and run held all along.
        held = {SDL_SCANCODE_W, SDL_SCANCODE_LSHIFT};
        pad.Button(SDL_CONTROLLER_BUTTON_LEFTSTICK, true);
        PointAt(kWindowWidth / 2, kWindowHeight / 3);
        for (int frame = 0; frame < 12; ++frame) {
            sMouseButtons = frame >= 2 && frame < 10 ? SDL_BUTTON_LMASK : 0;
            if (!SDL_GetRelativeMouseMode())
                MoveMouse(30, 20);
            Turns(1);
        }
        ASSERT_FALSE(MenuOpen());
        for (std::size_t i = 0; i < players.size(); ++i) {
            EXPECT_EQ(BallOf(players[i]).FlightStateName(), "BallIdle") << "player " << i;
            EXPECT_FALSE(players[i]->mCharging);
            EXPECT_LT(glm::distance(ViewOf(players[i]), views[i]), 1e-4f) << "player " << i;
        }
        std::vector<glm::vec3> places;
        for (const Player_LogicComp* player : players)
            places.push_back(Engine::Transform::GetWorldPosition(player->GetOwner()));
        MoveMouse(30, 0);
        pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
        pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32767);
        Turns(3);
        for (std::size_t i = 0; i < players.size(); ++i) {
            EXPECT_TRUE(players[i]->mRunning) << "player " << i << " runs on";
            EXPECT_GT(glm::distance(ViewOf(players[i]), views[i]), 0.01f) << "player " << i;
            EXPECT_GT(glm::distance(Engine::Transform::GetWorldPosition(players[i]->GetOwner()), places[i]), 0.05f)
                << "player " << i << " walks on";
        }
        held.clear();
        pad.Button(SDL_CONTROLLER_BUTTON_LEFTSTICK, false);
        pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
        pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
        Turns(2);
    }
    sMouseButtons = SDL_BUTTON_LMASK;
    Turns(3);
    sMouseButtons = 0;
    Turns(2);
    EXPECT_EQ(BallOf(onKeys).FlightStateName(), "BallBouncing") << "a new click throws";
}

// The players stand still behind the pause menu, their look frozen; a mode
// menu a player holds open in play is theirs.
TEST_F(GameplayModeRun, PlayersFollowThePauseMenuAndKeepTheirOwnModeMenu)
{
    std::vector<Player_LogicComp*> players;
    for (Engine::EntityHandle entity : Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse"))
        players.push_back(Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity));
    ASSERT_EQ(players.size(), 2u);
    Frames(2);
    players[0]->mRadialOpen = true;
    Frames(2);
    EXPECT_TRUE(players[0]->mRadialOpen) << "the mode menu stays open in play";
    EXPECT_FALSE(players[1]->mRadialOpen);

    OpenWithEscape();
    for (const Player_LogicComp* player : players) {
        EXPECT_TRUE(player->mPaused);
        EXPECT_TRUE(player->mRadialOpen);
    }
    Tap(SDL_SCANCODE_ESCAPE);
    for (const Player_LogicComp* player : players) {
        EXPECT_FALSE(player->mPaused);
        EXPECT_FALSE(player->mRadialOpen) << "the look moves again";
    }
}

// The mode menu frees the pointer while its key is held. A key let go
// behind the pause menu, or still held when the match ends, is never seen
// let go by the players: the mouse must be captured again all the same.
TEST_F(GameplayModeRun, AModeMenuKeyLetGoBehindThePauseMenuOrHeldAtTheEndLeavesTheMouseCaptured)
{
    const SDL_Scancode modeMenu = SDL_SCANCODE_F19;
    ASSERT_EQ(InputBindings::Defaults().Code(InputBindings::ModeMenu), static_cast<std::uint32_t>(modeMenu));
    Frames(3);
    held.insert(modeMenu);
    Frames(2);
    ASSERT_TRUE(Input().menuPointerShown) << "the mode menu is open";
    OpenWithEscape();
    held.erase(modeMenu);
    Frames(2);
    Tap(SDL_SCANCODE_ESCAPE);
    Frames(2);
    EXPECT_FALSE(Input().menuPointerShown) << "back in play, the mouse turns the view";

    held.insert(modeMenu);
    Frames(2);
    ASSERT_TRUE(Input().menuPointerShown);
    StdoutOf([] {
        GameplayMode::Shutdown();
        GameplayMode::Init();
    });
    held.erase(modeMenu);
    EXPECT_FALSE(Input().menuPointerShown) << "the next match starts with the mouse captured";
}

TEST_F(GameplayModeRun, NewMatchRemembersNothingOfAMatchLeftEarly)
{
    Frames(5);
    ASSERT_FALSE(Recorder().ring.empty());
    // Quit from the pause menu: straight to the title, no replay.
    OpenWithEscape();
    MenuEventRecord quit;
    GameMode::SwitchToTitle(quit);
    Frame();
    StdoutOf([] {
        GameplayMode::Shutdown();
        GameplayMode::Init();
    });
    EXPECT_TRUE(Recorder().ring.empty());
    EXPECT_TRUE(Recorder().playback.empty());
    EXPECT_TRUE(Recorder().isLive);
    EXPECT_EQ(Recorder().live.tiles.size(), HexGrid::GetInstance().tiles.size());
    EXPECT_FALSE(GameMode::PauseMenuOpen) << "the menu went with the match";
    EXPECT_FALSE(GameMode::Paused);
}

// The link breaks in the frame the winner's end of play starts the replay:
// the match goes, and the title after it is drawn, at full speed, with a
// recorder that is live again (the lobby's lost-link check needs it live).
TEST_F(GameplayModeRun, AMatchLeftAsItsReplayStartsLeavesTheTitleDrawnAtFullSpeed)
{
    const auto players = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse");
    ASSERT_FALSE(players.empty());
    Player_LogicComp& winner = *Engine::LogicManager::GetCompPtr<Player_LogicComp>(players.front());
    winner.mScore = winner.mScoreLimit;
    Frames(30);
    ASSERT_LT(Engine::FrameRateController::GetTimeScale(), 0.9) << "in the slow motion";

    NetworkMgr::GetInstance().disconnecting = 1;
    GameMode::EndRequested = 1;
    StdoutOf([this] { Frame(); });
    NetworkMgr::GetInstance().disconnecting = 0;
    ASSERT_TRUE(GameMode::ChangeRequested);
    GameMode::ChangeRequested = false;
    StdoutOf([] { GameplayMode::Shutdown(); });

    EXPECT_TRUE(Recorder().isLive);
    EXPECT_TRUE(Recorder().playback.empty());
    EXPECT_TRUE(Engine::Renderer::GetInstance().renderingEnabled) << "the title is drawn";
    EXPECT_FALSE(Engine::Renderer::GetInstance().postProcessing.flag1) << "without the replay's look";
    EXPECT_DOUBLE_EQ(Engine::FrameRateController::GetTimeScale(), 1.0);
    StdoutOf([] { GameplayMode::Init(); });
}

// The link breaks in the frame the player looks away (or presses Escape):
// the match on its way out asks for no pause menu, which the title would
// otherwise open over its own.
TEST_F(GameplayModeRun, AMatchLeftAsItsPlayerLooksAwayLeavesNoPauseMenuForTheTitle)
{
    Frames(3);
    sFocused = false;
    NetworkMgr::GetInstance().disconnecting = 1;
    Frame();
    NetworkMgr::GetInstance().disconnecting = 0;
    sFocused = true;
    ASSERT_TRUE(GameMode::ChangeRequested);
    GameMode::ChangeRequested = false;
    StdoutOf([] { GameplayMode::Shutdown(); });
    Layers().Update();
    EXPECT_FALSE(MenuOpen());
    StdoutOf([] { GameplayMode::Init(); });
}

TEST_F(GameplayModeRun, F11TogglesFullscreenAndRewritesTheConfiguration)
{
    Engine::Window& window = *Engine::Window::Main();
    const bool before = window.IsFullscreen();
    std::filesystem::remove(UserConfig::GetFilePath());
    Tap(SDL_SCANCODE_F11);
    EXPECT_NE(window.IsFullscreen(), before);
    EXPECT_TRUE(std::filesystem::exists(UserConfig::GetFilePath()));
}

// F7 joins the address typed on the console beforehand. The frame never
// waits for the console: with nothing typed, F7 does nothing.
TEST_F(GameplayModeRun, F7JoinsOnlyAnAddressTypedBeforeAndNeverWaitsForTheConsole)
{
    int console[2] = {-1, -1};
    ASSERT_EQ(pipe(console), 0);
    const int standardInput = dup(STDIN_FILENO);
    dup2(console[0], STDIN_FILENO);
    Frames(2);
    {
        // A frame that waited would be let go only when the console closes.
        // The tap's frames take a tenth of a second, a second or so in a
        // sanitised build on a busy machine: far short of this.
        const LateRescue closer(std::chrono::seconds(60), [&console] {
            close(console[1]);
            console[1] = -1;
        });
        Tap(SDL_SCANCODE_F7);
    }
    EXPECT_GE(console[1], 0) << "the frame waited for the console until it closed";
    NetworkMgr& network = NetworkMgr::GetInstance();
    EXPECT_FALSE(network.initialised) << "nothing typed, nothing joined";

    if (console[1] >= 0) {
        EXPECT_EQ(write(console[1], "c\n", 2), 2);
        StdoutOf([&] { Tap(SDL_SCANCODE_F7); });
        EXPECT_TRUE(network.initialised);
        EXPECT_FALSE(network.server);
        EXPECT_EQ(GameState::GetInstance().joinAddress, "127.0.0.1");
        close(console[1]);
    }
    StdoutOf([&] { network.Disconnect(); });
    dup2(standardInput, STDIN_FILENO);
    close(standardInput);
    close(console[0]);
}

// The goal ball of a replay is drawn where its frames recorded it, the same
// ball throughout: not a new one each frame pushed off by the one it replaces.
TEST_F(GameplayModeRun, AReplayedGoalBallFollowsItsRecordedPath)
{
    Frames(5);
    StdoutOf([] { SpawnGoalBall(false); });
    Frames(40);
    GameMode::EndRequested = 1;
    StdoutOf([this] { Frame(); });
    int shown = 0;
    for (int i = 0; i < 100 && !Recorder().isLive; ++i) {
        StdoutOf([this] { EngineFrame(); });
        const MatchFrame* front = Recorder().PlaybackFront();
        const auto balls = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("GoalBall");
        ASSERT_LE(balls.size(), 1u);
        if (front && front->goalBall.active && !balls.empty()) {
            ++shown;
            EXPECT_LT(glm::distance(Engine::Transform::GetWorldPosition(balls.front()), front->goalBall.pos), 0.5f)
                << "replayed frame " << i;
        }
        StdoutOf([] { GameMode::Current.Update(); });
    }
    EXPECT_GT(shown, 30);
}

} // namespace
