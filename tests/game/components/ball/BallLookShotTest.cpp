// Under Xvfb: a shot that strikes the floor and bounces, seen from the side
// with its trail, its sparks and the tiles' colour splash; then a medal in
// flight and the large end-of-match medal at full size.
#include "game/components/BallScene.h"

namespace {

class BallLookShot : public BallScene {
protected:
    void BeforeFloor() override { LoadRenderer(); }

    // One camera over the whole window, looking across the floor; the
    // players' own views closed. It shares player 1's number, so player 1's
    // medals show in it.
    void SetUp() override
    {
        BallScene::SetUp();
        MatchRecorder::GetInstance().isRecording = 0;
        for (Engine::EntityHandle player : {one, two})
            Camera(player).mViewportIntake.value = glm::vec2(0.0f);

        viewer = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(viewer);
        Engine::CameraManager::GetInstance().AddComponent(viewer);
        Engine::GameCamera& camera = *Engine::CameraManager::GetInstance().GetCompPtr(viewer);
        camera.mCameraIndex.value = 1;
        camera.SetPosition(glm::vec3(2.0f, FloorTop() + 5.0f, -16.0f));
        camera.SetTarget(glm::vec3(0.0f, FloorTop() + 1.5f, 0.0f));
        camera.Update();
        LightTheFloor(glm::vec3(0.0f, FloorTop() + 20.0f, -6.0f));
    }

    void TearDown() override
    {
        MatchRecorder::GetInstance().isRecording = 1;
        BallScene::TearDown();
    }

    // Frames as the engine runs them; the sparks move in the render pass,
    // which only the pictures taken run here.
    void DrawnFrames(int count)
    {
        for (int i = 0; i < count; ++i) {
            Frame();
            Engine::ParticleEmitterManager::GetInstance().Update();
        }
    }

    Engine::EntityHandle viewer;
};

TEST_F(BallLookShot, AShotBouncesOffTheFloorWithItsTrailSparksAndSplash)
{
    // Across the view in front of the players, down onto the floor.
    const glm::vec3 start(-9.0f, FloorTop() + 6.0f, -5.0f);
    Throw(ballOne, start, {14.0f, -12.0f, 0.0f});
    Engine::Transform::SetWorldPosition(Ball(ballOne).mTrail.front(), start);

    DrawnFrames(30);
    Draw("ball_shot_1_flight");
    // A tile just past where the ball will strike the floor.
    const std::array<int, 3> tileBefore = PixelAt(660, 250);
    int frames = 30;
    while (Ball(ballOne).mContacts == 0 && frames < 120) {
        DrawnFrames(1);
        ++frames;
    }
    ASSERT_GT(Ball(ballOne).mContacts, 0u) << "it reached the floor";
    EXPECT_GT(Velocity(ballOne).y, 0.0f) << "and bounced up";
    DrawnFrames(8);
    Draw("ball_shot_2_splash");
    DrawnFrames(20);
    Draw("ball_shot_3_bounced");
    const std::array<int, 3> tileAfter = PixelAt(660, 250);
    EXPECT_GT(tileAfter[2], tileBefore[2] + 40) << "the splash tints it in player 1's blue";
    EXPECT_GT(tileAfter[2], tileAfter[0] + 60);
}

TEST_F(BallLookShot, AMedalSparklesAndTheFinalMedalFillsTheView)
{
    BadgeManagerComp& medals = BallScene::Medals(one);
    medals.PushMedal(BadgeManagerComp::MedalGoalShot);
    DrawnFrames(62);
    ASSERT_EQ(medals.mSparkleFrame, 6) << "into the sparkle";
    Draw("medal_sparkle");
    // The medal above the middle of the view: its pink emblem.
    const std::array<int, 3> emblem = PixelAt(605, 652);
    EXPECT_GT(emblem[0], emblem[1] + 15) << "pink";
    EXPECT_GT(emblem[2], emblem[1]) << "pink";

    DrawnFrames(120);
    ASSERT_EQ(medals.mShowing, 0);
    medals.SetLargeDisplay();
    medals.PushMedal(BadgeManagerComp::MedalPerfect);
    DrawnFrames(110);
    ASSERT_EQ(medals.mGrowing, 1);
    ASSERT_EQ(medals.mSparkleFrame, 0) << "holding at full size";
    Draw("medal_final_full_size");
    // Its golden ribbon right of the word, well below the middle.
    const std::array<int, 3> ribbon = PixelAt(840, 240);
    EXPECT_GT(ribbon[0], ribbon[2] + 60) << "gold";
    EXPECT_GT(Brightness(ribbon), 200);
}

} // namespace
