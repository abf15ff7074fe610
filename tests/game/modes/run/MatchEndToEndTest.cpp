#include "game/modes/MatchHarness.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TempBallComp.h"
#include "game/config/InputBindings.h"
#include "game/match/GameScene.h"
#include "game/match/KillCamHud.h"
#include "support/PrivateDisplay.h"
#include "support/VirtualPad.h"

#include <glm/gtx/norm.hpp>
#include <iostream>
#include <optional>

namespace {

// A whole local match through the mode loop, as the program runs it from
// the title: two players on one machine (player 1 on a controller, player 2
// on keys and mouse), both walk, player 2 shoots player 1 to the score limit,
// the end medals show, the replay plays under the kill camera and the match
// hands back to the title.
//
// It runs on an X server of its own. The software renderer takes most of a
// frame, so the window is small, live frames that nobody looks at are not
// drawn, and the recorder keeps 200 frames rather than 500: the replay
// draws each of its frames through the kill camera, as in the game.
class LocalMatch : public MatchHarness {
protected:
    enum class Phase { Settle, Walk, Duel, EndOfMatch, Replay, Done };

    static constexpr int kWalkFrames = 20;
    // A shot ball that has not hit within this many frames is called back.
    static constexpr int kRecallAfter = 45;
    static constexpr int kFrameLimit = 3000;
    static constexpr std::uint32_t kRecordedFrames = 200;

    void SetUp() override
    {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        MatchHarness::SetUp();
        pad.emplace();
        ASSERT_TRUE(pad->IsPlugged());
        // The input manager opens it from the event its plugging raised.
        Input().EndFrame();
        Input().Update();
        ASSERT_EQ(Input().GetPlayerControllers().size(), 1u);
        frameMilliseconds = 32;
        MatchRecorder::GetInstance().capacity = kRecordedFrames;
    }

    bool LoopFrame() override
    {
        ++frame;
        Engine::Renderer& renderer = Engine::Renderer::GetInstance();
        const bool replaying = !MatchRecorder::GetInstance().isLive;
        if (!replaying)
            renderer.renderingEnabled = drawNext;
        drawNext = false;
        const bool open = EngineFrame();
        Act();
        return open && frame < kFrameLimit;
    }

    void FindPlayers()
    {
        for (Engine::EntityHandle entity : Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse")) {
            Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
            if (player && player->mPlayerNumber == 1)
                one = entity;
            if (player && player->mPlayerNumber == 2)
                two = entity;
        }
    }
    static Player_LogicComp& Player(Engine::EntityHandle entity)
    {
        return *Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
    }
    static glm::vec3 Where(Engine::EntityHandle entity) { return Engine::Transform::GetWorldPosition(entity); }
    std::string BallState() const
    {
        const TempBallComp* ball = Engine::LogicManager::GetCompPtr<TempBallComp>(Player(two).mOwnBall);
        return ball ? ball->FlightStateName() : "";
    }

    void Act()
    {
        sMouseButtons = 0;
        switch (phase) {
        case Phase::Settle:
            Settle();
            break;
        case Phase::Walk:
            Walk();
            break;
        case Phase::Duel:
            Duel();
            break;
        case Phase::EndOfMatch:
            EndOfMatch();
            break;
        case Phase::Replay:
            Replay();
            break;
        case Phase::Done:
            break;
        }
    }

    // Until both players stand on the risen floor.
    void Settle()
    {
        if (one.IsNull() || two.IsNull())
            FindPlayers();
        if (one.IsNull() || two.IsNull())
            return;
        if (Player(one).StateNameOf(0) != "Move" || Player(two).StateNameOf(0) != "Move")
            return;
        oneOnController = InputBindings::ForPlayer(1).UsesController;
        twoOnController = InputBindings::ForPlayer(2).UsesController;
        startOne = Where(one);
        startTwo = Where(two);
        phaseStart = frame;
        phase = Phase::Walk;
    }

    // Player 1 pushes its stick forward, player 2 holds W: both walk towards
    // the middle, facing each other.
    void Walk()
    {
        const bool walking = frame - phaseStart < kWalkFrames;
        pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, walking ? -32767 : 0);
        if (walking) {
            held.insert(SDL_SCANCODE_W);
            return;
        }
        held.erase(SDL_SCANCODE_W);
        if (frame - phaseStart < kWalkFrames + 15)
            return; // come to rest
        walkedOne = glm::distance(Where(one), startOne);
        walkedTwo = glm::distance(Where(two), startTwo);
        drawNext = true;
        shootAt = frame + 1;
        phase = Phase::Duel;
    }

    void Duel()
    {
        if (frame == shootAt && !splitShot) {
            // Drawn by the frame just run.
            splitShot = SaveScreenshot("match-split-screen");
        }
        const int score = Player(two).mScore;
        if (score > lastScore) {
            lastScore = score;
            ++hits;
            std::cout << "hit " << hits << " at frame " << frame << "\n";
        }
        if (Player(two).HasWon()) {
            scoreOne = Player(one).mScore;
            phase = Phase::EndOfMatch;
            phaseStart = frame;
            return;
        }
        const std::string ball = BallState();
        if (ball == "BallIdle" && !Player(one).mHurting && frame >= shootAt) {
            sMouseButtons = SDL_BUTTON_LMASK;
            shotAt = frame;
            shootAt = frame + 2;
        } else if (ball == "BallBouncing" && frame - shotAt > kRecallAfter) {
            // Missed or done: call it back.
            sMouseButtons = SDL_BUTTON_LMASK;
            shotAt = frame;
        }
    }

    // The slow motion and the large medals, until the end of play.
    void EndOfMatch()
    {
        const BadgeManagerComp& medals = *Engine::LogicManager::GetCompPtr<BadgeManagerComp>(two);
        const bool perfectShown = medals.mShowing && !medals.mGrowing && medals.mCurrentMedal == BadgeManagerComp::MedalPerfect;
        if (medalsShotFrame < 0 && perfectShown) {
            drawNext = true;
            medalsShotFrame = frame + 1;
            medalsShown = true;
        }
        if (frame == medalsShotFrame)
            medalsShot = SaveScreenshot("match-end-medals");
        if (!MatchRecorder::GetInstance().isLive) {
            phase = Phase::Replay;
            phaseStart = frame;
            replayLength = MatchRecorder::GetInstance().playback.size();
        }
    }

    void Replay()
    {
        if (frame - phaseStart == 60) {
            replayShot = SaveScreenshot("match-replay");
            killCameraDrew = !Engine::Renderer::GetInstance().renderingEnabled;
        }
        if (GameMode::ReturnRequested) {
            // The mode consumes it in this iteration's Update; the loop then
            // shuts the match down and would start the title next.
            returned = true;
            Input().RequestQuit();
            phase = Phase::Done;
        }
    }

    // Before the engine opens its window.
    const PrivateDisplay display;
    std::optional<PluggedPad> pad;
    Phase phase = Phase::Settle;
    int frame = 0;
    int phaseStart = 0;
    int shootAt = 0;
    int shotAt = 0;
    int lastScore = 0;
    int hits = 0;
    int scoreOne = -1;
    int medalsShotFrame = -1;
    bool drawNext = false;
    bool splitShot = false;
    bool medalsShown = false;
    bool medalsShot = false;
    bool replayShot = false;
    bool killCameraDrew = false;
    bool returned = false;
    bool oneOnController = false;
    bool twoOnController = true;
    std::size_t replayLength = 0;
    float walkedOne = 0.0f;
    float walkedTwo = 0.0f;
    glm::vec3 startOne{0.0f};
    glm::vec3 startTwo{0.0f};
    Engine::EntityHandle one;
    Engine::EntityHandle two;
};

TEST_F(LocalMatch, TwoPlayersPlayToTheScoreLimitWatchTheReplayAndGoBackToTheTitle)
{
    // Straight into the match the local pre-match page starts (the menus'
    // own walk there is tested with them).
    GameScene::PlayerCount = 2;
    GameMode::Pending = GameMode::Gameplay;
    StdoutOf([this] { RunModes(); });

    EXPECT_LT(frame, kFrameLimit) << "stuck in phase " << static_cast<int>(phase);
    EXPECT_TRUE(oneOnController) << "the one controller goes to player 1";
    EXPECT_FALSE(twoOnController) << "player 2 plays on keys and mouse";
    EXPECT_EQ(scoreOne, 0) << "player 1 never shot";
    EXPECT_GT(walkedOne, 1.0f) << "player 1 walks on the controller";
    EXPECT_GT(walkedTwo, 1.0f) << "player 2 walks on the keys";
    EXPECT_EQ(hits, 5) << "one point a hit up to the limit";
    EXPECT_EQ(Player_LogicComp::LivePlayerCount(), 0) << "the scene went with the match";
    EXPECT_TRUE(medalsShown);
    EXPECT_GT(replayLength, kRecordedFrames / 2) << "the best moment is most of the recorder's memory";
    EXPECT_TRUE(killCameraDrew);
    EXPECT_TRUE(returned);
    EXPECT_TRUE(splitShot);
    EXPECT_TRUE(medalsShot);
    EXPECT_TRUE(replayShot);
    // The return: the title is next, the recorder is live and empty again.
    EXPECT_EQ(GameMode::Pending, GameMode::Title);
    EXPECT_FALSE(GameMode::ReturnRequested);
    EXPECT_TRUE(MatchRecorder::GetInstance().isLive);
    EXPECT_EQ(Layers().Size(), 0u);
    std::cout << "frames " << frame << " replay " << replayLength << "\n";
}

} // namespace
