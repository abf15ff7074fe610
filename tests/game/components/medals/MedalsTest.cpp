// The medal displays of the two players: their order, the score HUDs that
// make room, the large end-of-match display, and what they ignore.
#include "game/components/BallScene.h"

#include "engine/render/HUDCompManager.h"

namespace {

int gMedalEndRequests = 0;

class Medals : public BallScene {
protected:
    void SetUp() override
    {
        BallScene::SetUp();
        gMedalEndRequests = 0;
        PlayerHooks::Get().requestEndOfPlay = [] { ++gMedalEndRequests; };
    }

    void TearDown() override
    {
        MatchRecorder::GetInstance().isTutorial = 0;
        BallScene::TearDown();
    }

    static float Alpha(Engine::EntityHandle hud)
    {
        return Engine::HUDCompManager::GetInstance().GetCompPtr(hud)->mColor.value.a;
    }

    // The medal whose HUD shows now, or -1.
    static int Shown(const BadgeManagerComp& medals)
    {
        for (std::size_t i = 0; i < medals.mMedalEntities.size(); ++i)
            if (Alpha(medals.mMedalEntities[i]) > 0.0f)
                return static_cast<int>(i);
        return -1;
    }

    // Consecutive repeats dropped.
    template <class T>
    static std::vector<T> Runs(const std::vector<T>& values)
    {
        std::vector<T> runs;
        for (const T& value : values)
            if (runs.empty() || runs.back() != value)
                runs.push_back(value);
        return runs;
    }
};

TEST_F(Medals, MedalsPushedTogetherShowOneAfterAnotherWhileTheScoreHudsStandAside)
{
    BadgeManagerComp& medals = BallScene::Medals(one);
    const Engine::EntityHandle score = medals.mScoreHud1;
    ASSERT_FALSE(score.IsNull());
    EXPECT_EQ(Position(score), medals.mScoreHudRest1);
    medals.PushMedal(BadgeManagerComp::MedalNormal);
    medals.PushMedal(BadgeManagerComp::MedalRevenge);
    medals.PushMedal(BadgeManagerComp::MedalBounce);

    std::vector<int> shown;
    std::vector<bool> atRest;
    std::vector<int> frames(BadgeManagerComp::kMedalCount, 0);
    for (int frame = 0; frame < 600; ++frame) {
        Frame();
        const int medal = Shown(medals);
        if (medal >= 0) {
            shown.push_back(medal);
            ++frames[medal];
        }
        atRest.push_back(glm::distance(Position(score), medals.mScoreHudRest1) < 1e-4f);
    }
    EXPECT_EQ(Runs(shown), (std::vector<int>{0, 4, 1}));
    EXPECT_EQ(Shown(medals), -1);
    EXPECT_EQ(Runs(atRest), (std::vector<bool>{true, false, true})) << "aside once, back after the last";
    // Grow 0.25 s, hold 0.3 s, 52 sparkle updates, hold 0.3 s, fade 0.25 s.
    for (int medal : {0, 4, 1})
        EXPECT_NEAR(frames[medal], 162, 3) << medal;
    EXPECT_EQ(Alpha(medals.mEffectEntity), 0.0f) << "the sparkle is over";
    EXPECT_EQ(Alpha(BallScene::Medals(two).mMedalEntities[0]), 0.0f) << "the other player's stay hidden";
}

TEST_F(Medals, TheLargeFinalMedalAsksForTheEndAfterItsRunWhateverTheTimeScale)
{
    BadgeManagerComp& medals = BallScene::Medals(one);
    Engine::HUDCompManager::GetInstance().GetCompPtr(Component(one).mEnergyHud)->mColor.value.a = 1.0f;
    medals.SetLargeDisplay();
    medals.PushMedal(BadgeManagerComp::MedalPerfect);
    Engine::FrameRateController::SetTimeScale(0.25);
    int frames = 0;
    bool heldLarge = false;
    while (gMedalEndRequests == 0 && frames < 400) {
        Frame();
        ++frames;
        const Engine::EntityHandle medal = medals.mMedalEntities[BadgeManagerComp::MedalPerfect];
        if (Alpha(medal) == 1.0f && *Engine::Transform::ScalePtr(medal) == glm::vec3(3.99f, 3.0f, 3.0f))
            heldLarge = glm::length(Position(medal)) < 1e-6f;
    }
    // Grow 1 s, hold 0.3 s, 52 sparkle updates, hold 1 s.
    EXPECT_NEAR(frames, 230 + 52, 5);
    EXPECT_TRUE(heldLarge) << "full size, in the middle of the view";
    EXPECT_EQ(Alpha(Component(one).mEnergyHud), 0.0f);
    EXPECT_EQ(Alpha(medals.mMedalEntities[BadgeManagerComp::MedalPerfect]), 0.0f);
    EXPECT_EQ(Engine::FrameRateController::GetTimeScale(), 1.0);
    Frames(20);
    EXPECT_EQ(gMedalEndRequests, 1);
}

TEST_F(Medals, TheWinnersHitBringsTheEndDisplayAQuarterIntoTheSlowMotion)
{
    Component(one).mScore = 5;
    Frames(130);
    const BadgeManagerComp& medals = BallScene::Medals(one);
    EXPECT_EQ(medals.mShowing, 1);
    EXPECT_EQ(medals.mCurrentMedal, BadgeManagerComp::MedalPerfect);
    EXPECT_EQ(medals.mBaseScale, glm::vec3(3.99f, 3.0f, 3.0f));
}

TEST_F(Medals, OnOneMachineEachPlayersMedalsShowInItsOwnView)
{
    for (Engine::EntityHandle player : {one, two}) {
        const BadgeManagerComp& medals = BallScene::Medals(player);
        ASSERT_EQ(medals.mMedalEntities.size(), 9u);
        for (std::uint32_t medal = 0; medal < 9; ++medal) {
            const Engine::HUDComp& hud = *Engine::HUDCompManager::GetInstance().GetCompPtr(medals.mMedalEntities[medal]);
            EXPECT_EQ(hud.mTextureName.value, BadgeManagerComp::MedalName(medal));
            EXPECT_EQ(hud.mCameraTarget.value, Camera(player).mCameraIndex.value);
            EXPECT_EQ(hud.mColor.value.a, 0.0f);
        }
    }
}

TEST_F(Medals, BadNumbersEarlyUpdatesTutorialsAndMissingScoreHudsAreHarmless)
{
    BadgeManagerComp& medals = BallScene::Medals(one);
    medals.PushMedal(9);
    medals.PushMedal(1000);
    EXPECT_TRUE(medals.mQueue.empty());
    medals.mQueue.push_back(12);
    Frame();
    EXPECT_EQ(medals.mShowing, 0) << "an unknown number in the queue is dropped";

    BadgeManagerComp loose;
    loose.PushMedal(BadgeManagerComp::MedalBounce);
    loose.Update();
    EXPECT_EQ(loose.mShowing, 0) << "not initialised";

    MatchRecorder::GetInstance().isTutorial = 1;
    const Engine::EntityHandle holder = Hud({0, 0, 0}, glm::vec3(1.0f), -1);
    Engine::LogicManager::GetInstance().AddComponent<BadgeManagerComp>(holder);
    BadgeManagerComp& tutorial = *Engine::LogicManager::GetCompPtr<BadgeManagerComp>(holder);
    EXPECT_TRUE(tutorial.mMedalEntities.empty());
    tutorial.PushMedal(0);
    Frame();
    EXPECT_EQ(tutorial.mShowing, 0);
    MatchRecorder::GetInstance().isTutorial = 0;

    for (Engine::EntityHandle player : {one, two})
        Engine::SetEntityName(Component(player).mScoreHud, "Unnamed Entity");
    tutorial.Initialize();
    EXPECT_TRUE(tutorial.mScoreHud1.IsNull());
    tutorial.PushMedal(BadgeManagerComp::MedalGoalShot);
    Frames(200);
    EXPECT_EQ(tutorial.mShowing, 0) << "shown and gone without score HUDs";
}

} // namespace
