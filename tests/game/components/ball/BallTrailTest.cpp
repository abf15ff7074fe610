// The ball's trail pieces: stretching behind a flight, ending, and their
// share of the match recording.
#include "game/components/BallScene.h"

#include "game/components/ball/TrailStates.h"

#include <cmath>
#include <memory>

namespace {

class BallTrail : public BallScene {
protected:
    static Engine::StateMachine& Machine(Engine::EntityHandle piece)
    {
        return *Engine::LogicManager::GetCompPtr<Engine::SMComponent>(piece)->GetStateMachines()[0];
    }
    static std::string State(Engine::EntityHandle piece) { return Machine(piece).GetCurrentState()->GetName(); }
    Engine::EntityHandle Front() { return Ball(ballOne).mTrail.front(); }
};

TEST_F(BallTrail, APieceStretchesBehindTheFlightFollowsItAndShrinksAwayAtItsEnd)
{
    Throw(ballOne, {-20.0f, FloorTop() + 8.0f, 0.0f}, {20.0f, 0.0f, 0.0f});
    const Engine::EntityHandle piece = Front();
    ASSERT_EQ(Ball(ballOne).mTrail.size(), 5u);
    EXPECT_EQ(State(piece), "TrailBegin") << "the flight started it";
    // It started where the ball left the hand; the test put the ball elsewhere.
    Engine::Transform::SetWorldPosition(piece, Position(ballOne));
    EXPECT_EQ(Engine::RenderCompManager::GetInstance().GetCompPtr(piece)->mDiffuseColor.value, glm::vec3(0, 0, 1));
    int frames = 0;
    while (State(piece) == "TrailBegin" && frames < 100) {
        Frame();
        ++frames;
        // The centre stays midway between the start and the ball.
        EXPECT_NEAR(Engine::Transform::ScalePtr(piece)->z * 2.0f, Position(ballOne).x + 20.0f, 0.45f);
        EXPECT_NEAR(Engine::Transform::ForwardPtr(piece)->x, 1.0f, 1e-5f) << "lies along the flight";
    }
    EXPECT_NEAR(frames, 51, 2) << "5 units long after 10 units of flight";
    Frames(10);
    EXPECT_EQ(State(piece), "TrailFollow");
    EXPECT_NEAR(Position(ballOne).x - Position(piece).x, 5.0f, 0.3f) << "carried along as it is";

    // The others never started, and ending the trail leaves them idle.
    Ball(ballOne).EndTrail();
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(State(Ball(ballOne).mTrail[i]), "TrailIdle");
        EXPECT_EQ(Machine(Ball(ballOne).mTrail[i]).GetNextState(), nullptr);
        EXPECT_EQ(Position(Ball(ballOne).mTrail[i]), Trail::kParked);
    }
    EXPECT_EQ(Front(), piece) << "the queue comes back in its order";
    Frame();
    EXPECT_EQ(State(piece), "TrailEnd");
    Ball(ballOne).EndTrail();
    EXPECT_EQ(Machine(piece).GetNextState(), nullptr) << "an ending piece is left to end";

    // From a length of 5 it is gone after 13 updates (5 x 0.8^13 < 0.3).
    Engine::Transform::ScaleRef(piece).z = 5.0f;
    for (int update = 1; update <= 13; ++update) {
        ASSERT_EQ(State(piece), "TrailEnd") << update;
        Frame();
    }
    EXPECT_EQ(State(piece), "TrailIdle");
    EXPECT_EQ(Position(piece), Trail::kParked);
}

// The ball goes in flight: its stretched trail goes out of the arena with
// it, rather than stand where the flight left it.
TEST_F(BallTrail, ABallDestroyedInFlightParksItsTrail)
{
    Throw(ballOne, {-20.0f, FloorTop() + 8.0f, 0.0f}, {20.0f, 0.0f, 0.0f});
    const std::deque<Engine::EntityHandle> pieces = Ball(ballOne).mTrail;
    Engine::Transform::SetWorldPosition(pieces.front(), Position(ballOne));
    Frames(60);
    ASSERT_EQ(State(pieces.front()), "TrailFollow");
    Engine::EntityMgr::GetInstance().DestroyEntity(ballOne);
    Frame();
    for (Engine::EntityHandle piece : pieces)
        EXPECT_EQ(Position(piece), Trail::kParked)
            << "a piece " << Engine::Transform::ScalePtr(piece)->z << " long stands at x " << Position(piece).x;
    Frame();
    for (Engine::EntityHandle piece : pieces)
        EXPECT_EQ(State(piece), "TrailIdle");
}

TEST_F(BallTrail, AShortStretchEndsWithoutFollowingAndABounceRestartsThePiece)
{
    Throw(ballOne, {-20.0f, FloorTop() + 8.0f, 0.0f}, {20.0f, 0.0f, 0.0f});
    const Engine::EntityHandle piece = Front();
    Engine::Transform::SetWorldPosition(piece, Position(ballOne));
    Frames(10);
    Ball(ballOne).EndTrail();
    Frame();
    EXPECT_EQ(State(piece), "TrailEnd");

    // A bounce ends and starts in one frame: the start wins.
    Frames(20);
    Ball(ballOne).StartTrail();
    Frames(10);
    const glm::vec3 restart = Position(ballOne);
    Touch(ballOne, Engine::EntityHandle(), {0, 0, 1});
    EXPECT_EQ(Machine(piece).GetNextState()->GetName(), "TrailBegin");
    Frame();
    EXPECT_EQ(State(piece), "TrailBegin");
    EXPECT_NEAR(glm::distance(Position(piece), restart), 0.0f, 0.25f) << "from the ball again";
}

TEST_F(BallTrail, TheBallsCommandsComeBeforeThePiecesOwnProgress)
{
    // Caught before the stretch is 5 long: the ball jumps into the hand in
    // that frame, and the piece does not reach for it.
    Throw(ballOne, Position(one) + glm::vec3(0, 0, 6), {0, 0, -20});
    const Engine::EntityHandle piece = Front();
    Engine::Transform::SetWorldPosition(piece, Position(ballOne));
    Frames(5);
    Touch(ballOne, one, {0, 0, -1});
    float longest = 0.0f;
    for (int i = 0; i < 30; ++i) {
        Frame();
        longest = std::max(longest, Engine::Transform::ScalePtr(piece)->z);
    }
    EXPECT_EQ(State(piece), "TrailIdle");
    EXPECT_LT(longest, 2.0f);

    // Started in the frame it would have vanished: it starts.
    Throw(ballOne, {-20.0f, FloorTop() + 8.0f, 0.0f}, {20.0f, 0.0f, 0.0f});
    Frames(3);
    Ball(ballOne).EndTrail();
    Frame();
    ASSERT_EQ(State(piece), "TrailEnd");
    Engine::Transform::ScaleRef(piece).z = 0.31f;
    Ball(ballOne).StartTrail();
    Frame();
    EXPECT_EQ(State(piece), "TrailBegin");
}

TEST_F(BallTrail, AZeroOrVerticalDirectionKeepsThePieceTurnedAsItWas)
{
    const Engine::EntityHandle piece = Front();
    Engine::Transform::ForwardRef(piece) = glm::vec3(0, 0, 1);
    Engine::Transform::UpRef(piece) = glm::vec3(0, 1, 0);
    struct Case {
        glm::vec3 direction;
        glm::vec3 forward;
        glm::vec3 up;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {{3, 0, 0}, {1, 0, 0}, {0, 1, 0}},
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
        {{0, -7, 0}, {1, 0, 0}, {0, 1, 0}},
        {{nan, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {{0, 1, 1}, {0, 0.70710677f, 0.70710677f}, {0, 0.70710677f, -0.70710677f}},
    };
    for (const Case& test : cases) {
        Trail::OrientAlong(piece, test.direction);
        EXPECT_NEAR(glm::distance(*Engine::Transform::ForwardPtr(piece), test.forward), 0.0f, 1e-5f);
        EXPECT_NEAR(glm::distance(*Engine::Transform::UpPtr(piece), test.up), 0.0f, 1e-5f);
    }

    // A trail behind a ball falling straight down records no NaN.
    Throw(ballOne, {0.0f, FloorTop() + 8.0f, 0.0f}, {0.0f, -5.0f, 0.0f});
    Frames(5);
    MatchRecorder::GetInstance().live.trails.clear();
    Frame();
    ASSERT_EQ(MatchRecorder::GetInstance().live.trails.size(), 10u) << "five pieces of two balls";
    for (const MatchTrailRecord& record : MatchRecorder::GetInstance().live.trails)
        for (const glm::vec3& v : {record.pos, record.up, record.forw, record.sca})
            EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
}

TEST_F(BallTrail, AReplayPlacesThePiecesItRecordedAndHidesTheRest)
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    auto frame = std::make_shared<MatchFrame>(HexGrid::GetInstance().tiles.size());
    frame->players[0].pos = Position(one);
    frame->players[1].pos = Position(two);
    const MatchTrailRecord record{{1, 2, 3}, {0, 1, 0}, {1, 0, 0}, {0.01f, 0.2f, 4.0f}};
    frame->trails = {record, record};
    recorder.playback.push_back(frame);
    recorder.isLive = 0;
    Logic(10);
    std::vector<Engine::EntityHandle> pieces(Ball(ballOne).mTrail.begin(), Ball(ballOne).mTrail.end());
    pieces.insert(pieces.end(), Ball(ballTwo).mTrail.begin(), Ball(ballTwo).mTrail.end());
    int placed = 0;
    for (Engine::EntityHandle piece : pieces) {
        if (Position(piece) == record.pos) {
            ++placed;
            EXPECT_EQ(*Engine::Transform::ScalePtr(piece), record.sca);
        } else {
            EXPECT_EQ(Position(piece), Trail::kUnrecorded);
        }
    }
    EXPECT_EQ(placed, 2);
    EXPECT_TRUE(frame->trails.empty()) << "each record is taken once";
}

} // namespace
