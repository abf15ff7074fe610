// Under Xvfb, two players with their balls on the small floor, driven by
// injected mouse and keys: shooting, charging, recalling, resetting and
// disintegrating the ball.
#include "game/components/BallScene.h"

#include "game/arena/MatchStats.h"
#include "game/components/perks/PassivePerks.h"

namespace {

class BallFlight : public BallScene {
protected:
    // Where the player's camera looks, as the launch reads it.
    glm::vec3 Aim(Engine::EntityHandle player)
    {
        const Engine::GameCamera& camera = Camera(player);
        return glm::normalize(camera.mTarget.value - camera.mPos.value);
    }

    // Presses the left button and runs the logic of the frame that sees
    // it; the caller looks at the launch before the physics moves the ball.
    void ShootAndLookBeforePhysics()
    {
        HoldMouse(SDL_BUTTON_LMASK);
        Frame();
        Logic(10);
    }
};

TEST_F(BallFlight, AShotLeavesAlongTheViewAtTheShotSpeedOfTheSpeedState)
{
    struct Case {
        const char* name;
        bool slowed;
        bool remote;
        int heldFrames;
        float speed;
        const char* state;
    };
    const Case cases[] = {
        // Before its first flight the ball still has its weight.
        {"after 5 s in the hand", false, false, 500, 55.0f, "BallBouncing"},
        {"normal", false, false, 2, 55.0f, "BallBouncing"},
        {"slowed by the peer's perk", true, false, 2, 13.75f, "BallBouncing"},
        {"the peer's mirror reads no input", false, true, 2, 0.0f, "BallIdle"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Component(one).mRemote = test.remote;
        if (test.slowed)
            Ball(ballOne).SpeedMachine()->ChangeState("Slow");
        Frames(test.heldFrames);
        const int shots = MatchStats::GetInstance().Shots.value;

        ShootAndLookBeforePhysics();
        EXPECT_EQ(Flight(ballOne), test.state);
        EXPECT_NEAR(glm::length(Velocity(ballOne)), test.speed, 1e-3f);
        if (test.speed > 0.0f) {
            EXPECT_NEAR(glm::dot(glm::normalize(Velocity(ballOne)), Aim(one)), 1.0f, 1e-4f);
            EXPECT_FALSE(Body(ballOne).mGhost.value) << "solid once out of the hand";
            EXPECT_EQ(*Engine::Transform::ScalePtr(ballOne), Ball(ballOne).NormalScale.value);
            EXPECT_EQ(Ball(ballOne).mDirect, 1);
        }
        EXPECT_EQ(MatchStats::GetInstance().Shots.value, shots + (test.remote ? 0 : 1));
        PhysicsAndInput();
        HoldMouse(0);

        Component(one).mRemote = false;
        Ball(ballOne).SpeedMachine()->ChangeState("Normal");
        Ball(ballOne).FlightMachine()->ChangeState("BallIdle");
        Frames(3);
        ASSERT_EQ(Flight(ballOne), "BallIdle");
        EXPECT_TRUE(Body(ballOne).mGhost.value) << "a held ball touches nothing";
    }
}

TEST_F(BallFlight, WithTheHoldSpeedPerkATapChargesHalfAndAFullSecondTwiceAndFiresByItself)
{
    Component(one).mPassiveKind = Player_LogicComp::kHoldSpeed;
    // A tap: held for one frame, let go the next.
    ClickLeft();
    EXPECT_TRUE(Component(one).mCharging);
    Logic(10);
    EXPECT_EQ(Flight(ballOne), "BallBouncing");
    EXPECT_NEAR(glm::length(Velocity(ballOne)), 0.5f * 55.0f, 1e-3f);
    EXPECT_FALSE(Component(one).mCharging);
    PhysicsAndInput();

    Ball(ballOne).FlightMachine()->ChangeState("BallIdle");
    Frames(3);
    HoldMouse(SDL_BUTTON_LMASK);
    int frames = 0;
    while (Flight(ballOne) == "BallIdle" && frames < 200) {
        Logic(10);
        if (Flight(ballOne) == "BallBouncing") {
            EXPECT_NEAR(glm::length(Velocity(ballOne)), 2.0f * 55.0f, 1e-3f);
        }
        PhysicsAndInput();
        ++frames;
    }
    EXPECT_NEAR(frames, 102, 2) << "a second of charge, still held";
    HoldMouse(0);
}

TEST_F(BallFlight, TheSameButtonRecallsTheBallWhichComesBackIntoTheHand)
{
    // High above its owner, where nothing is in the way back.
    Throw(ballOne, Position(one) + glm::vec3(4.0f, 10.0f, 0.0f), glm::vec3(0.0f));
    ASSERT_EQ(Flight(ballOne), "BallBouncing");
    // The air redirect sits on the same button but never cancels the recall.
    HoldMouse(SDL_BUTTON_LMASK);
    Frame();
    Frame();
    HoldMouse(0);
    ASSERT_EQ(Flight(ballOne), "BallReturn");
    float distance = 0.0f;
    int frames = 0;
    while (Flight(ballOne) == "BallReturn" && frames < 200) {
        distance = glm::distance(Position(ballOne), Position(one));
        Frame();
        ++frames;
    }
    EXPECT_EQ(Flight(ballOne), "BallIdle");
    EXPECT_LT(frames, 100) << "at 65 units a second";
    EXPECT_LT(distance, 3.0f + 65.0f * 0.01f);
}

TEST_F(BallFlight, ResetPutsAFlyingBallBackAndDisintegrationSlowsItToAStop)
{
    const glm::vec3 high(0.0f, FloorTop() + 10.0f, 0.0f);
    Throw(ballOne, high, {20.0f, 0.0f, 0.0f});
    Press(InputBindings::BallReset);
    EXPECT_EQ(Flight(ballOne), "BallIdle");

    // From 100 units a second, losing 1.6 % an update whatever the frame time.
    Frames(3);
    Throw(ballOne, high, {100.0f, 0.0f, 0.0f});
    HoldMouse(SDL_BUTTON_MMASK);
    Frame(1);
    HoldMouse(0);
    int frames = 0;
    while (Flight(ballOne) != "BallIdle" && frames < 400) {
        if (Flight(ballOne) == "BallDesintegrate")
            ++frames;
        Frame(1);
    }
    EXPECT_NEAR(frames, 286, 2);
}

} // namespace
