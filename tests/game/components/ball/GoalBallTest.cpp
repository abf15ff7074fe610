// The goal ball: its wait, its launch from the generator's draws, goals,
// replacement, the peer's spawn and its share of the recording.
#include "game/components/BallScene.h"

#include "engine/core/Random.h"
#include "engine/frame/Core.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/ChannelRecords.h"

#include <memory>

namespace {

std::vector<int> gDraws;
std::size_t gNextDraw = 0;

int Scripted() { return gNextDraw < gDraws.size() ? gDraws[gNextDraw++] : 16383; }

class GoalBallScene : public BallScene {
protected:
    void TearDown() override
    {
        Engine::Random::SetSource(nullptr);
        BallScene::TearDown();
    }

    // The generator answers these raw draws, then the centre for ever.
    static void Draws(std::vector<int> draws)
    {
        gDraws = std::move(draws);
        gNextDraw = 0;
        Engine::Random::SetSource(&Scripted);
    }

    static std::vector<Engine::EntityHandle> GoalBalls()
    {
        return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("GoalBall");
    }
    static GoalBall& Goal(Engine::EntityHandle entity) { return *Engine::LogicManager::GetCompPtr<GoalBall>(entity); }

    // Spawned and past the end of its frame.
    Engine::EntityHandle Spawn()
    {
        SpawnGoalBall();
        Frame();
        return GoalBalls().at(0);
    }
};

TEST_F(GoalBallScene, WaitsThreeAndAHalfSecondsThenFliesTheDrawnWayAtItsSpeed)
{
    // An all-centre draw is no direction: it is drawn again.
    Draws({16383, 16383, 16383, 16383 + 300, 16383, 16383 - 400});
    const Engine::EntityHandle goal = Spawn();
    EXPECT_TRUE(GoalBall::Alive());
    EXPECT_NEAR(glm::distance(Goal(goal).mDirection, glm::vec3(0.6f, 0.0f, -0.8f)), 0.0f, 1e-6f);
    EXPECT_EQ(*Engine::Transform::ScalePtr(goal), glm::vec3(1.5f));
    EXPECT_EQ(Body(goal).mGravity.value, glm::vec3(0.0f, -0.5f, 0.0f));
    EXPECT_NEAR(Position(goal).y, 0.0f, 0.01f) << "at the arena's centre";
    Frames(349);
    EXPECT_EQ(Goal(goal).mActive, 0);
    Logic(10);
    EXPECT_EQ(Goal(goal).mActive, 1) << "3.5 s after the spawn";
    EXPECT_NEAR(glm::distance(Velocity(goal), glm::vec3(0.6f, 0.0f, -0.8f)), 0.0f, 1e-6f) << "unit length";
    PhysicsAndInput();
    Logic(10);
    EXPECT_NEAR(glm::length(Velocity(goal)), 25.0f, 1e-4f);
    // A bounce turns it; the speed stays.
    Velocity(goal) = glm::vec3(-3.0f, 0.0f, 0.0f);
    Logic(10);
    EXPECT_EQ(Velocity(goal), glm::vec3(-25.0f, 0.0f, 0.0f));
    // Stopped dead, it goes on the way it last went.
    Velocity(goal) = glm::vec3(0.0f);
    Logic(10);
    EXPECT_EQ(Velocity(goal), glm::vec3(-25.0f, 0.0f, 0.0f));
}

TEST_F(GoalBallScene, AGeneratorStuckAtTheCentreStillGivesADirection)
{
    Draws({});
    const Engine::EntityHandle goal = Spawn();
    EXPECT_NEAR(glm::length(Goal(goal).mDirection), 1.0f, 1e-6f);
}

TEST_F(GoalBallScene, ABallTouchingItScoresAGoalOnlyOnceItFlies)
{
    const Engine::EntityHandle goal = Spawn();
    Throw(ballOne, {0.0f, 0.0f, 3.0f}, {0.0f, 0.0f, -20.0f});
    Touch(ballOne, goal, {0, 0, -1});
    EXPECT_EQ(Component(one).mScore, 0) << "still waiting: a plain bounce";
    EXPECT_EQ(Ball(ballOne).mDirect, 0);
    Frame();
    ASSERT_EQ(GoalBalls().size(), 1u);
    EXPECT_EQ(Flight(ballOne), "BallBouncing");

    // Out of the way while the goal ball waits, and back once it flies.
    Ball(ballOne).FlightMachine()->ChangeState("BallIdle");
    Frames(360);
    ASSERT_EQ(Goal(goal).mActive, 1);
    Throw(ballOne, Position(goal) + glm::vec3(0.0f, 0.0f, 3.0f), {0.0f, 0.0f, -20.0f});
    Touch(ballOne, goal, {0, 0, 1});
    Touch(ballOne, goal, {0, 1, 0});
    EXPECT_EQ(Component(one).mScore, 1) << "once, though touched twice before it is gone";
    EXPECT_EQ(Medals(one).mQueue, (std::deque<std::uint32_t>{BadgeManagerComp::MedalGoalShot}));
    EXPECT_FALSE(audio.CallsStartingWith("Play data/Sounds/Sfx/player_hit.wav").empty());
    EXPECT_EQ(Flight(ballOne), "BallBouncing") << "the ball flies on";
    Frame();
    EXPECT_TRUE(GoalBalls().empty());
    EXPECT_FALSE(GoalBall::Alive());

    // The peer's goal counts only on its own side.
    Component(one).mRemote = true;
    Ball(ballOne).FlightMachine()->ChangeState("BallIdle");
    const Engine::EntityHandle next = Spawn();
    Frames(360);
    Throw(ballOne, Position(next) + glm::vec3(0.0f, 0.0f, 3.0f), {0.0f, 0.0f, -20.0f});
    Touch(ballOne, next, {1, 0, 0});
    EXPECT_EQ(Component(one).mScore, 1);
    Frame();
    EXPECT_TRUE(GoalBalls().empty()) << "spent all the same";

    // Nor does a goal after the opponent has won.
    Component(one).mRemote = false;
    Ball(ballOne).FlightMachine()->ChangeState("BallIdle");
    const Engine::EntityHandle late = Spawn();
    Frames(360);
    Component(two).mScore = 5;
    Throw(ballOne, Position(late) + glm::vec3(0.0f, 0.0f, 3.0f), {0.0f, 0.0f, -20.0f});
    Touch(ballOne, late, {1, 0, 0});
    EXPECT_EQ(Component(one).mScore, 1) << "the match is decided";
}

TEST_F(GoalBallScene, ANewSpawnReplacesTheOldAndThePeersRecordSpawnsOneOnlyWhenNoneIsOut)
{
    Spawn();
    SpawnGoalBall();
    Frame();
    EXPECT_EQ(GoalBalls().size(), 1u);
    EXPECT_TRUE(GoalBall::Alive()) << "the old one's going leaves the new one counted";
    // Spawns with no entity phase between them still leave one; under a
    // local pause, which skips that phase while the arena's events go on,
    // the one out starts again instead of piling up new ones till the end.
    SpawnGoalBall();
    SpawnGoalBall();
    Frame();
    EXPECT_EQ(GoalBalls().size(), 1u);
    const Engine::EntityHandle out = GoalBalls().at(0);
    Frames(360);
    Engine::Core::GetInstance().SetPaused(true);
    for (int event = 0; event < 3; ++event)
        SpawnGoalBall();
    Engine::Core::GetInstance().SetPaused(false);
    EXPECT_EQ(GoalBalls(), std::vector<Engine::EntityHandle>{out});
    EXPECT_EQ(Goal(out).mActive, 0) << "it waits again, as a new one does";

    Net::GoalBallState spawned;
    spawned.kind = Net::GoalBallState::kSpawned;
    Engine::NetworkingEvent event;
    event.Fill(2, Net::Encode(spawned));
    const Engine::EntityHandle kept = GoalBalls().at(0);
    Frames(360);
    ASSERT_EQ(Goal(kept).mActive, 1);
    Engine::EventHandlerList::Raise(event, one);
    Frame();
    EXPECT_EQ(GoalBalls(), std::vector<Engine::EntityHandle>{kept});
    EXPECT_EQ(Goal(kept).mActive, 0) << "it waits again with the host's new one";
    EXPECT_LT(glm::length(Velocity(kept)), 0.1f) << "and stands still, as a new one does";

    GoalBalls().at(0).Destroy();
    Frame();
    EXPECT_FALSE(GoalBall::Alive());
    Engine::EventHandlerList::Raise(event, one);
    Frame();
    EXPECT_EQ(GoalBalls().size(), 1u);

    // Spent in the frame the peer's spawn is taken: the spawn still makes one.
    GoalBalls().at(0).Destroy();
    Engine::EventHandlerList::Raise(event, one);
    Frame();
    EXPECT_EQ(GoalBalls().size(), 1u);
}

TEST_F(GoalBallScene, ItIsRecordedWhileLiveAndPlacedFromTheRecordingInAReplay)
{
    const Engine::EntityHandle goal = Spawn();
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    EXPECT_EQ(recorder.live.goalBall.active, 1);
    EXPECT_NEAR(glm::distance(recorder.live.goalBall.pos, Position(goal)), 0.0f, 0.01f);

    for (const bool shown : {true, false}) {
        auto frame = std::make_shared<MatchFrame>(HexGrid::GetInstance().tiles.size());
        frame->goalBall = {static_cast<std::uint8_t>(shown), {4, 5, 6}};
        recorder.playback.push_back(frame);
        recorder.isLive = 0;
        Logic(10);
        EXPECT_EQ(Position(goal), shown ? glm::vec3(4, 5, 6) : glm::vec3(-1000, -1000, -1000));
        MatchRecorder::ClearFrameList(recorder.playback);
        PhysicsAndInput();
    }
}

} // namespace
