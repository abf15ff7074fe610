#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/Renderer.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/HUDCompManager.h"
#include "game/match/KillCamHud.h"
#include "game/arena/HookCheck.h"
#include "game/arena/MatchRecorder.h"
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>

namespace {

// Frames pushed through the live recorder, each with the given points.
void Record(MatchRecorder& recorder, int frames, float points0 = 0.0f, float points1 = 0.0f)
{
    for (int i = 0; i < frames; ++i) {
        recorder.live.points0 = points0;
        recorder.live.points1 = points1;
        recorder.Update();
    }
}

TEST(MomentWeights, FramesInTheMiddleOfTheRingWeighFourTimesTheEnds)
{
    const MatchRecorder& recorder = MatchRecorder::GetInstance();
    struct Case {
        std::int32_t value;
        std::uint32_t index;
        std::int32_t weight;
    };
    for (const Case& c : {Case{10000, 0, 4166}, Case{10000, 250, 16666}, Case{10000, 499, 4266}, Case{100, 0, 41},
                          Case{100, 250, 166}, Case{0, 250, 0}, Case{1500, 250, 2500}, Case{-100, 250, -166}}) {
        EXPECT_EQ(recorder.FrameWeight(c.value, c.index), c.weight) << c.value << " at " << c.index;
    }
}

class Recorder : public ::testing::Test {
protected:
    // A match or a replay of a test before these (the binary may run in any
    // order) leaves a best score, frames and counts behind; the hooks count
    // for the whole process: each test counts from 0.
    void SetUp() override
    {
        recorder.GoLive();
        sGoalBalls = sStunAreas = sForcefields = sFinished = 0;
        recorder.SetReplayHooks(Hooks());
    }
    void TearDown() override
    {
        MatchRecorder::ClearFrameList(recorder.playback);
        MatchRecorder::ClearFrameList(recorder.ring);
        recorder.isLive = 1;
        recorder.bestScore = 0;
        recorder.SetReplayHooks({});
    }

    static MatchRecorder::ReplayHooks Hooks()
    {
        MatchRecorder::ReplayHooks hooks;
        hooks.spawnGoalBall = [] { ++sGoalBalls; };
        hooks.spawnStunArea = [](Engine::EntityHandle, const glm::vec3& at) {
            ++sStunAreas;
            EXPECT_EQ(at, glm::vec3(-1000.0f));
        };
        hooks.spawnForcefield = [](const glm::vec3&) { ++sForcefields; };
        hooks.playbackFinished = [] { ++sFinished; };
        return hooks;
    }

    static inline int sGoalBalls = 0;
    static inline int sStunAreas = 0;
    static inline int sForcefields = 0;
    static inline int sFinished = 0;
    MatchRecorder& recorder = MatchRecorder::GetInstance();
};

TEST_F(Recorder, AQuietMatchKeepsReplayingItsLast500FramesFollowingPlayerOne)
{
    Record(recorder, 620);
    EXPECT_EQ(recorder.ring.size(), 500u) << "the 501st frame drops the oldest";
    EXPECT_EQ(recorder.bestScore, 0);
    EXPECT_EQ(recorder.focusPlayer, 0);
    EXPECT_EQ(recorder.playback.size(), 500u);
    EXPECT_EQ(recorder.playback.back().get(), recorder.ring.back().get()) << "the frames are shared, not copied";
}

TEST_F(Recorder, TheBestMomentWinsAndATieKeepsTheEarlierOne)
{
    Record(recorder, 10);
    Record(recorder, 1, 0.0f, 1500.0f);
    EXPECT_EQ(recorder.focusPlayer, 1);
    const std::int32_t best = recorder.bestScore;
    EXPECT_EQ(best, recorder.FrameWeight(1500, 10));
    const MatchFrame* chosen = recorder.playback.back().get();

    // Player 1's equal moment at the same ring place does not take over.
    MatchRecorder::ClearFrameList(recorder.ring);
    Record(recorder, 10);
    Record(recorder, 1, 1500.0f, 0.0f);
    EXPECT_EQ(recorder.focusPlayer, 1);
    EXPECT_EQ(recorder.bestScore, best);
    EXPECT_EQ(recorder.playback.back().get(), chosen);

    // Points below one weigh nothing.
    Record(recorder, 1, 0.9f, 0.0f);
    EXPECT_EQ(recorder.bestScore, best);

    Record(recorder, 1, 3000.0f, 0.0f);
    EXPECT_EQ(recorder.focusPlayer, 0);
    EXPECT_GT(recorder.bestScore, best);
}

TEST_F(Recorder, ANetworkedMatchAlwaysFollowsThisMachinesPlayer)
{
    NetworkMgr::GetInstance().connected = 1;
    Record(recorder, 5);
    Record(recorder, 1, 0.0f, 3000.0f);
    EXPECT_GT(recorder.bestScore, 0);
    EXPECT_EQ(recorder.focusPlayer, 0);
    NetworkMgr::GetInstance().connected = 0;
}

TEST_F(Recorder, TheNewestFrameKeepsEachPlayersCamera)
{
    recorder.live.players[0].camp = {1, 2, 3};
    recorder.live.players[0].camt = {4, 5, 6};
    recorder.live.players[1].camp = {7, 8, 9};
    recorder.Update();
    const MatchFrame& newest = *recorder.ring.back();
    EXPECT_EQ(newest.cams[0], (MatchCameraRecord{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(newest.cams[1].pos, glm::vec3(7, 8, 9));
    EXPECT_EQ(recorder.live, MatchFrame(recorder.live.tiles.size())) << "the live frame starts afresh";
}

TEST_F(Recorder, PlaybackShowsEachFrameOnceThenReturnsToLive)
{
    const std::string said = StdoutOf([&] {
        Record(recorder, 3);
        recorder.playback.front()->goalBall.active = 1;
        recorder.playback.front()->stunAreas.resize(2);
        recorder.playback.front()->forceFields.resize(1);
        recorder.isLive = 0;

        recorder.Update();
        EXPECT_EQ(sGoalBalls, 1);
        EXPECT_EQ(sStunAreas, 2);
        EXPECT_EQ(sForcefields, 1);
        EXPECT_EQ(recorder.playback.size(), 2u);
        EXPECT_EQ(NetworkMgr::GetInstance().flow_flags[1], 1) << "no per-frame state goes out";
        EXPECT_TRUE(Engine::Renderer::GetInstance().postProcessing.flag1);
        EXPECT_FALSE(Engine::Renderer::GetInstance().renderingEnabled) << "the kill camera draws the frame";

        recorder.Update();
        EXPECT_EQ(sFinished, 0);
        recorder.Update();
        EXPECT_EQ(sFinished, 1);
        EXPECT_TRUE(recorder.isLive);
        EXPECT_TRUE(recorder.ring.empty());
    });
    EXPECT_NE(said.find("Cam idx: 2"), std::string::npos);

    recorder.Update();
    EXPECT_TRUE(Engine::Renderer::GetInstance().renderingEnabled) << "live again: the normal pass draws";
    EXPECT_FALSE(Engine::Renderer::GetInstance().postProcessing.flag1);
}

TEST_F(Recorder, EnoughPerkObjectsAreLeftAlone)
{
    Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    std::vector<Engine::EntityHandle> objects;
    for (const char* name : {"StunTile", "StunTile", "FFTile"}) {
        objects.push_back(entities.CreateEntity());
        Engine::SetEntityName(objects.back(), name);
    }
    Record(recorder, 1);
    recorder.playback.front()->stunAreas.resize(3);
    recorder.playback.front()->forceFields.resize(1);
    recorder.isLive = 0;
    StdoutOf([&] { recorder.Update(); });
    EXPECT_EQ(sStunAreas, 1);
    EXPECT_EQ(sForcefields, 0);

    // Left standing, they would be enough for every replay after this one.
    for (const Engine::EntityHandle& object : objects)
        entities.DestroyEntity(object);
    entities.Flush();
}

// Without its hooks a replay still runs out and goes live; each missing
// hook is named once, however many frames ask for it.
TEST_F(Recorder, AReplayWithoutItsHooksNamesEachMissingOneOnce)
{
    recorder.SetReplayHooks({});
    ForgetReportedHooks();
    Record(recorder, 2);
    for (const MatchRecorder::FramePtr& frame : recorder.playback)
        frame->goalBall.active = 1;
    recorder.isLive = 0;
    std::string said;
    StdoutOf([&] { said = StderrOf([&] { Record(recorder, 3); }); });
    EXPECT_TRUE(recorder.isLive);
    EXPECT_EQ(said, "[Hooks] MatchRecorder::ReplayHooks::spawnGoalBall is not installed; the match goes on without what it "
                    "does.\n[Hooks] MatchRecorder::ReplayHooks::playbackFinished is not installed; the match goes on "
                    "without what it does.\n");
}

TEST_F(Recorder, AnEmptyPlaybackReturnsAtOnceAndTheCameraDrawsNothing)
{
    recorder.isLive = 0;
    recorder.isTutorial = 1;
    Engine::Renderer::GetInstance().renderingEnabled = true;
    const std::string said = StdoutOf([&] { recorder.Update(); });
    EXPECT_EQ(said, "");
    EXPECT_EQ(sFinished, 1);
    EXPECT_TRUE(recorder.isLive);
    EXPECT_TRUE(Engine::Renderer::GetInstance().renderingEnabled);
    EXPECT_FALSE(Engine::Renderer::GetInstance().postProcessing.flag2) << "a tutorial has no replay look";
    recorder.isTutorial = 0;
}

TEST_F(Recorder, MomentPointsGoToTheActingPlayersSide)
{
    recorder.AddMomentPoints(1, MatchRecorder::HitOpponent);
    recorder.AddMomentPoints(2, MatchRecorder::Running);
    recorder.AddMomentPoints(2, MatchRecorder::TileBend);
    recorder.AddMomentPoints(0, MatchRecorder::GoalBallGoal);
    EXPECT_EQ(recorder.live.points0, 1500.0f);
    EXPECT_EQ(recorder.live.points1, 170.0f);
    recorder.isLive = 0;
    recorder.AddMomentPoints(1, MatchRecorder::HitOpponent);
    EXPECT_EQ(recorder.live.points0, 1500.0f) << "a replay counts no moments";
}

TEST_F(Recorder, TheOverlayShowsDuringAReplayOnlyAndATutorialKeepsItsOwn)
{
    const Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
    huds.AddComponent(entity);
    Engine::SceneManager::SetActive();
    Engine::LogicManager::GetInstance().AddComponent<KillCamHud>(entity);
    auto* overlay = Engine::LogicManager::GetCompPtr<KillCamHud>(entity);
    std::string& texture = huds.GetCompPtr(entity)->mTextureName.value;

    recorder.isLive = 0;
    overlay->Update();
    EXPECT_EQ(texture, "RecordingHud");
    recorder.isLive = 1;
    overlay->Update();
    EXPECT_EQ(texture, "");

    texture = "TutorialArrow";
    recorder.isTutorial = 1;
    recorder.isLive = 0;
    overlay->Update();
    EXPECT_EQ(texture, "TutorialArrow");
    recorder.isTutorial = 0;
    Engine::LogicManager::GetInstance().Clear();
}

} // namespace
