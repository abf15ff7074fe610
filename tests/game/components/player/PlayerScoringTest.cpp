// Hits, medals, the score HUD, the end of the match and the recording of a
// player, with two players on the small floor.
#include "game/components/PlayerScene.h"

#include "engine/render/ParticleEmitterManager.h"
#include "game/arena/MatchStats.h"
#include "game/components/shared/HudTexture.h"

#include <vector>

namespace {

struct MedalCall {
    Engine::EntityHandle holder;
    int medal;
    bool final;
    bool operator==(const MedalCall&) const = default;
};

std::vector<MedalCall> gMedals;
PlayerHooks::BallShot gShot;
int gScoringEndRequests = 0;

class PlayerScoring : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        gMedals.clear();
        gShot = {};
        gScoringEndRequests = 0;
        PlayerHooks& hooks = PlayerHooks::Get();
        hooks.pushMedal = [](Engine::EntityHandle holder, int medal) { gMedals.push_back({holder, medal, false}); };
        hooks.showFinalMedal = [](Engine::EntityHandle holder, int medal) { gMedals.push_back({holder, medal, true}); };
        hooks.ballShot = [](Engine::EntityHandle) { return gShot; };
        hooks.requestEndOfPlay = [] { ++gScoringEndRequests; };
        one = SpawnStanding({-6.0f, 0.0f, 1.0f});
        two = SpawnStanding({6.0f, 0.0f, 1.0f});
    }

    std::vector<int> Medals() const
    {
        std::vector<int> medals;
        for (const MedalCall& call : gMedals)
            medals.push_back(call.medal);
        return medals;
    }

    Engine::EntityHandle one;
    Engine::EntityHandle two;
};

TEST_F(PlayerScoring, AHitCountsUnlessTheVictimIsStillHurtOrTheShooterRemote)
{
    Player_LogicComp& shooter = Component(one);
    Player_LogicComp& victim = Component(two);
    MatchStats& stats = MatchStats::GetInstance();
    const int scored = stats.MatchResultPlayer1.value;
    const int taken = stats.MatchResultPlayer2.value;

    EXPECT_TRUE(Player_LogicComp::ExchangeHit(shooter, victim));
    EXPECT_EQ(shooter.mScore, 1);
    EXPECT_TRUE(victim.mHurting);
    EXPECT_TRUE(victim.mRevenge);
    EXPECT_EQ(stats.MatchResultPlayer1.value, scored + 1);
    EXPECT_EQ(stats.MatchResultPlayer2.value, taken + 1);

    Frames(240);
    EXPECT_FALSE(Player_LogicComp::ExchangeHit(shooter, victim)) << "2.4 s later";
    EXPECT_EQ(shooter.mScore, 1);
    Frames(11);
    EXPECT_TRUE(Player_LogicComp::ExchangeHit(shooter, victim)) << "2.5 s later";
    EXPECT_EQ(shooter.mScore, 2);

    Frames(260);
    shooter.mRemote = true;
    EXPECT_FALSE(Player_LogicComp::ExchangeHit(shooter, victim)) << "the peer decides its own hits";
    EXPECT_EQ(shooter.mScore, 2);
}

TEST_F(PlayerScoring, AWinnerCannotBeHitInTheSlowMotion)
{
    Player_LogicComp& winner = Component(one);
    Player_LogicComp& loser = Component(two);
    winner.mScore = loser.mScore = 4;
    EXPECT_TRUE(Player_LogicComp::ExchangeHit(winner, loser));
    Frames(5);
    EXPECT_FALSE(Player_LogicComp::ExchangeHit(loser, winner)) << "a ball still in flight";
    EXPECT_EQ(loser.mScore, 4);
    EXPECT_FALSE(winner.mHurting);
    Frames(130);
    EXPECT_EQ(gMedals, (std::vector<MedalCall>{{one, 2, true}})) << "one winner";
}

TEST_F(PlayerScoring, AHitPushesTheMedalsItEarned)
{
    struct Case {
        const char* name;
        bool revenge;
        PlayerHooks::BallShot shot;
        float sinceActive;
        bool exhausted;
        std::vector<int> medals;
    };
    const Case cases[] = {
        {"plain", false, {false, true}, 10.0f, false, {0}},
        {"revenge", true, {false, true}, 10.0f, false, {0, 4}},
        {"jump shot", false, {true, true}, 10.0f, false, {0, 5}},
        {"after a bounce", false, {false, false}, 10.0f, false, {0, 1}},
        {"just after the active perk", false, {false, true}, 2.9f, false, {0, 3}},
        {"3 s after the active perk", false, {false, true}, 3.0f, false, {0}},
        {"exhausted", false, {false, true}, 10.0f, true, {0, 6}},
        {"everything", true, {true, false}, 0.0f, true, {0, 4, 5, 1, 3, 6}},
    };
    Player_LogicComp& shooter = Component(one);
    for (const Case& test : cases) {
        gMedals.clear();
        shooter.mScore = 0;
        shooter.mRevenge = test.revenge;
        shooter.mTimeSinceActive = test.sinceActive;
        shooter.mExhausted = test.exhausted;
        gShot = test.shot;
        shooter.ScoreHit();
        EXPECT_EQ(Medals(), test.medals) << test.name;
        EXPECT_FALSE(shooter.mRevenge) << test.name;
        for (const MedalCall& call : gMedals)
            EXPECT_EQ(call.holder, one) << test.name;
    }
}

TEST_F(PlayerScoring, TheHitThatReachesTheLimitEndsTheMatchInSlowMotion)
{
    Player_LogicComp& shooter = Component(one);
    shooter.mScore = 4;
    shooter.mRevenge = true;
    Player_LogicComp::ExchangeHit(shooter, Component(two));
    EXPECT_EQ(shooter.mScore, 5);
    EXPECT_TRUE(gMedals.empty()) << "no hit medal for the winning hit";

    Frame();
    EXPECT_NEAR(Engine::FrameRateController::GetTimeScale(), 0.98, 1e-9);
    Frame();
    EXPECT_NEAR(Engine::FrameRateController::GetTimeScale(), 0.98 * 0.98, 1e-9);
    EXPECT_EQ(HudTexture(shooter.mScoreHud), "Score_J1_5");

    // The end medals a quarter of the way into the 5 s, real time (give or
    // take the frame that crosses it).
    Frames(122);
    EXPECT_TRUE(gMedals.empty());
    Frames(4);
    EXPECT_EQ(gMedals, (std::vector<MedalCall>{{one, 2, true}}));
    Frames(50);
    EXPECT_EQ(gMedals.size(), 1u) << "once";

    int frames = 178;
    while (gScoringEndRequests == 0 && frames < 600) {
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames, 500, 2) << "the end is asked for after 5 s";
    EXPECT_DOUBLE_EQ(Engine::FrameRateController::GetTimeScale(), 1.0);
}

TEST_F(PlayerScoring, ARemoteWinnerShowsTheLossOnItsMedalHolder)
{
    Player_LogicComp& peer = Component(two);
    peer.mRemote = true;
    peer.mMedalHolder = Engine::EntityMgr::GetInstance().CreateEntity();
    peer.mScore = 5;
    Frames(128);
    EXPECT_EQ(gMedals, (std::vector<MedalCall>{{two, 2, true}, {peer.mMedalHolder, 8, true}}));
}

TEST_F(PlayerScoring, TheScoreHudFollowsTheScoreAndBlanksDuringAReplay)
{
    Player_LogicComp& first = Component(one);
    Player_LogicComp& second = Component(two);
    second.mSecondHud = Hud({0.0f, 0.0f, 0.0f}, glm::vec3(1.0f), 2);
    Frame();
    EXPECT_EQ(HudTexture(first.mScoreHud), "Score_J1_0");
    EXPECT_EQ(HudTexture(second.mScoreHud), "Score_J2_0");
    first.mScore = 3;
    second.mScore = 9;
    Frame();
    EXPECT_EQ(HudTexture(first.mScoreHud), "Score_J1_3");
    EXPECT_EQ(HudTexture(second.mScoreHud), "Score_J2_5") << "past the limit shows the limit";

    ShowHudTexture(second.mSecondHud, "White");
    MatchRecorder::GetInstance().isLive = 0;
    Frame();
    EXPECT_EQ(HudTexture(first.mScoreHud), "");
    EXPECT_EQ(HudTexture(second.mScoreHud), "");
    EXPECT_EQ(HudTexture(second.mSecondHud), "");
}

TEST_F(PlayerScoring, TheVictimHearsItsOwnHitSoundAtTheEffectsVolume)
{
    audio.calls.clear();
    Component(two).TakeHit();
    EXPECT_EQ(audio.CallsStartingWith("Play"), std::vector<std::string>{"Play data/Sounds/Sfx/player_hit.wav loop=0 overlap=0"});
    EXPECT_EQ(audio.CallsStartingWith("SetVolume data/Sounds/Sfx/player_hit.wav").back(), "SetVolume data/Sounds/Sfx/player_hit.wav 0.2") << "0.4 x 0.5";
}

TEST_F(PlayerScoring, TheBallThatHitsBurstsInTheVictimsColour)
{
    struct Case {
        const char* name;
        bool peerNamed;
        Engine::EntityHandle shooter;
        glm::vec3 colour;
    };
    const Case cases[] = {
        {"player 1 (blue) hits red", false, one, {1.0f, 0.0f, 0.0f}},
        {"player 2 (red) hits blue", false, two, {0.0f, 0.0f, 1.0f}},
        {"a networked peer has its own colour", true, one, {0.3f, 0.6f, 0.9f}},
    };
    for (const Case& test : cases) {
        if (test.peerNamed) {
            Engine::EntityNameCompManager::GetInstance().SetName(two, "2 Player_Mouse");
            Engine::RenderCompManager::GetInstance().GetCompPtr(two)->mDiffuseColor.value = test.colour;
        }
        const Engine::EntityHandle ball = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(ball);
        Engine::Transform::PositionRef(ball) = glm::vec3(1.0f, 2.0f, 3.0f);
        Engine::ParticleEmitterManager::GetInstance().AddComponent(ball);
        Component(test.shooter).mBall = ball;
        Component(test.shooter).ScoreHit();
        const Engine::ParticleEmitter& sparks = *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(ball);
        EXPECT_EQ(sparks.GetParticles().size(), 200u) << test.name;
        EXPECT_TRUE(sparks.burst);
        EXPECT_EQ(sparks.burstsLeft, 1);
        EXPECT_EQ(sparks.pointA, glm::vec3(1.0f, 2.0f, 3.0f));
        EXPECT_EQ(sparks.minimum.startColour, glm::vec4(test.colour * 0.5f, 0.5f)) << test.name;
        EXPECT_EQ(sparks.textureName, "Point");
    }
}

TEST_F(PlayerScoring, EachPlayerRecordsItsPartOfTheLiveFrameAndFollowsTheReplay)
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    recorder.Reset();
    Component(two).mScore = 3;
    Frame();
    const MatchPlayerRecord& second = recorder.live.players[1];
    EXPECT_EQ(second.pos, Position(two));
    EXPECT_EQ(second.score, 3);
    EXPECT_FLOAT_EQ(second.energy, 16.0f);
    EXPECT_EQ(second.camp, Camera(two).mPos.value);
    EXPECT_EQ(Camera(one).mViewportIntake.value, glm::vec2(1.0f, 0.5f)) << "two players share the window";

    auto frame = std::make_shared<MatchFrame>();
    frame->players[0] = {{2.0f, -10.0f, 4.0f}, {0.0f, 0.0f, 1.0f}, {}, 0.0f, 7.0f, 1, 2};
    recorder.playback.push_back(frame);
    recorder.isLive = 0;
    Logic(10);
    EXPECT_EQ(Position(one), glm::vec3(2.0f, -10.0f, 4.0f));
    EXPECT_EQ(Component(one).mScore, 2);
    EXPECT_FLOAT_EQ(Component(one).Energy.value, 7.0f);
    PhysicsAndInput();
    EXPECT_EQ(MovementState(one), "Start");
    EXPECT_EQ(EnergyState(one), "Exausted");
    EXPECT_EQ(Camera(one).mViewportIntake.value, glm::vec2(0.0f));
    EXPECT_FALSE(Component(one).mCanAct);
    MatchRecorder::ClearFrameList(recorder.playback);
}

} // namespace
