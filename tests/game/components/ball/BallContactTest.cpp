// What a ball's contacts mean, raised as the collision manager raises them:
// the arena box, hits on the opponent, catches, tiles and the peer's
// records for a ball.
#include "game/components/BallScene.h"

#include "engine/logic/NetworkingEvent.h"
#include "engine/net/ChannelRecords.h"
#include "game/arena/MatchStats.h"
#include "game/components/tile/ColourCollider.h"

#include <limits>

namespace {

constexpr float kRestitution = 0.998f;
const glm::vec3 kSide(0.0f, 0.0f, 1.0f);

class BallContact : public BallScene {
protected:
    std::vector<Engine::EntityHandle> Splashes() const
    {
        return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Colour_Collider");
    }
};

TEST_F(BallContact, TheArenaBoxSendsABallBackInAndCountsTheWallOnce)
{
    struct Case {
        const char* name;
        glm::vec3 at;
        glm::vec3 velocity;
        glm::vec3 placed;
        glm::vec3 after;
        std::uint32_t contacts;
    };
    const Case cases[] = {
        {"through the +x wall", {50, 3, 0}, {10, 0, 0}, {41, 3, 0}, {-10 * kRestitution, 0, 0}, 1},
        {"the same wall again: the contact repeats", {50, 3, 0}, {10, 0, 0}, {41, 3, 0}, {-10 * kRestitution, 0, 0}, 0},
        {"already heading back in", {-45, 3, 2}, {5, 0, 0}, {-41, 3, 2}, {5, 0, 0}, 0},
        {"through the ceiling", {0, 30, 0}, {0, 4, 0}, {0, 25, 0}, {0, -4 * kRestitution, 0}, 1},
        {"inside", {10, 3, 10}, {4, 0, 0}, {10, 3, 10}, {4, 0, 0}, 0},
    };
    Throw(ballOne, {0, 3, 0}, glm::vec3(0.0f));
    TempBallComp& ball = Ball(ballOne);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Engine::Transform::SetWorldPosition(ballOne, test.at);
        Velocity(ballOne) = test.velocity;
        const std::uint32_t contacts = ball.mContacts;
        ball.ResolveCollision();
        EXPECT_EQ(Position(ballOne), test.placed);
        EXPECT_NEAR(glm::distance(Velocity(ballOne), test.after), 0.0f, 1e-5f);
        EXPECT_EQ(ball.mContacts - contacts, test.contacts);
    }
    EXPECT_EQ(ball.mLastNormal, glm::vec3(0, 1, 0)) << "the wall's normal points out of the arena";
    EXPECT_EQ(ball.mDirect, 0) << "a wall is a bounce";

    // The owner is held inside the same box, without a bounce.
    Engine::Transform::SetWorldPosition(one, {-60.0f, Position(one).y, 3.0f});
    ball.ResolveCollision();
    EXPECT_EQ(Position(one).x, -41.0f);
}

TEST_F(BallContact, AHitScoresQueuesMedalsAndReturnsTheBallUnlessTheVictimIsHurt)
{
    MatchStats& stats = MatchStats::GetInstance();
    Component(one).mTimeSinceActive = 10.0f;
    const int afterBounce = stats.HitsAfterBounce.value;
    const std::size_t goals = stats.TimesGoalScored.value.size();

    Throw(ballOne, Position(two) - glm::vec3(2, 0, 0), {30, 0, 0});
    Touch(ballOne, two, {1, 0, 0});
    EXPECT_EQ(Component(one).mScore, 1);
    EXPECT_TRUE(Component(two).mHurting);
    EXPECT_EQ(Medals(one).mQueue, (std::deque<std::uint32_t>{BadgeManagerComp::MedalNormal}));
    EXPECT_EQ(stats.HitsAfterBounce.value, afterBounce) << "a direct hit";
    EXPECT_EQ(stats.TimesGoalScored.value.size(), goals + 1);
    EXPECT_NEAR(stats.DistanceWhenGoalScored.value.back(), 12.0f, 0.5f);
    EXPECT_EQ(audio.CallsStartingWith("Play data/Sounds/Sfx/player_hit.wav").size(), 2u) << "the ball's and the victim's";
    EXPECT_TRUE(Engine::LogicManager::GetCompPtr<Engine::Emitter>(ballOne)->IsPlaying("PlayerHit")) << "from the ball";
    EXPECT_EQ(audio.CallsStartingWith("SetVolume data/Sounds/Sfx/player_hit.wav").back(),
              "SetVolume data/Sounds/Sfx/player_hit.wav 0.2") << "0.4 of the effects volume";
    Frame();
    EXPECT_EQ(Flight(ballOne), "BallIdle");

    // Hurt: nothing scores, but the ball still goes back into the hand.
    Throw(ballOne, Position(two) - glm::vec3(2, 0, 0), {30, 0, 0});
    Touch(ballOne, two, {1, 0, 0});
    EXPECT_EQ(Component(one).mScore, 1);
    Frame();
    EXPECT_EQ(Flight(ballOne), "BallIdle");

    // Once the victim has recovered, a hit after a bounce off a wall.
    Frames(260);
    ASSERT_FALSE(Component(two).mHurting);
    Throw(ballOne, Position(two) - glm::vec3(2, 0, 0), {30, 0, 0});
    Touch(ballOne, Engine::EntityHandle(), {0, 0, 1});
    Touch(ballOne, two, {1, 0, 0});
    EXPECT_EQ(Component(one).mScore, 2);
    EXPECT_EQ(stats.HitsAfterBounce.value, afterBounce + 1);
    EXPECT_EQ(Medals(one).mQueue.back(), BadgeManagerComp::MedalBounce);
}

// A ball still flying when the replay starts meets the opponent where the
// recording shows a hit, or a goal ball still out: the replay shows what
// was scored, it scores nothing again (no medal, no hurt, no record for the
// peer).
TEST_F(BallContact, AReplayedHitOrGoalScoresNothing)
{
    Throw(ballOne, Position(two) - glm::vec3(6, 0, 0), {30, 0, 0});
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    auto shown = std::make_shared<MatchFrame>(recorder.live.tiles.size());
    shown->players[0].pos = Position(one);
    shown->players[1].pos = Position(two);
    shown->balls[0].pos = Position(two);
    shown->balls[1].pos = Position(ballTwo);
    recorder.playback.push_back(shown);
    recorder.isLive = 0;
    const int hits = MatchStats::GetInstance().MatchResultPlayer1.value;
    Frames(5);
    EXPECT_EQ(Flight(ballOne), "BallIdle") << "the replayed ball met the opponent";
    EXPECT_FALSE(Component(two).mHurting);
    EXPECT_TRUE(Medals(one).mQueue.empty());
    EXPECT_FALSE(Medals(one).mShowing);
    EXPECT_EQ(MatchStats::GetInstance().MatchResultPlayer1.value, hits);

    SpawnGoalBall(false);
    Frame();
    const Engine::EntityHandle goal = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("GoalBall").at(0);
    GoalBall& goalBall = *Engine::LogicManager::GetCompPtr<GoalBall>(goal);
    goalBall.mActive = 1;
    shown->balls[0].pos = Position(goal) + glm::vec3(0, 0, 3);
    Throw(ballOne, shown->balls[0].pos, {0, 0, -20});
    ASSERT_EQ(Flight(ballOne), "BallBouncing");
    const int score = Component(one).mScore;
    Touch(ballOne, goal, {0, 0, 1});
    EXPECT_EQ(Component(one).mScore, score) << "nor a goal";
    EXPECT_EQ(goalBall.mActive, 1);
}

TEST_F(BallContact, CatchesRepeatsAndTheHandAreNoBounces)
{
    Throw(ballOne, Position(one) + glm::vec3(0, 0, 3), {0, 0, -30});
    TempBallComp& ball = Ball(ballOne);
    Touch(ballOne, one, {0, 0, -1});
    EXPECT_EQ(ball.mDirect, 1) << "the owner is no bounce";
    Frame();
    EXPECT_EQ(Flight(ballOne), "BallIdle") << "caught";

    // A held ball is a ghost: nothing it touches counts.
    const std::uint32_t contacts = ball.mContacts;
    Touch(ballOne, two, {1, 0, 0});
    EXPECT_EQ(ball.mContacts, contacts);
    EXPECT_EQ(Component(one).mScore, 0);

    // Once the hand is asked for, later contacts in the frame change nothing.
    Throw(ballOne, {0, 3, 0}, {10, 0, 0});
    ball.FlightMachine()->ChangeState("BallIdle");
    const std::size_t bounces = audio.CallsStartingWith("Play data/Sounds/Sfx/BounceBall.wav").size();
    Touch(ballOne, two, {1, 0, 0});
    EXPECT_EQ(Component(one).mScore, 0);
    EXPECT_EQ(ball.mContacts, 1u);
    EXPECT_EQ(audio.CallsStartingWith("Play data/Sounds/Sfx/BounceBall.wav").size(), bounces);
}

TEST_F(BallContact, AReturningBallThatHitsAWallFliesOnBrieflyThenGoesIntoTheHand)
{
    Throw(ballOne, {0, FloorTop() + 10.0f, 35.0f}, {0, 0, 10});
    Ball(ballOne).FlightMachine()->ChangeState("BallReturn");
    Frame();
    ASSERT_EQ(Flight(ballOne), "BallReturn");
    Touch(ballOne, Engine::EntityHandle(), kSide);
    Frame();
    EXPECT_EQ(Flight(ballOne), "ReturnBounce");
    Frames(29);
    EXPECT_EQ(Flight(ballOne), "ReturnBounce");
    Frames(2);
    EXPECT_EQ(Flight(ballOne), "BallIdle");
}

TEST_F(BallContact, ATileTouchedSplashesInTheOwnersColourOncePerCooldown)
{
    const std::vector<Engine::EntityHandle>& tiles = HexGrid::GetInstance().tiles;
    Throw(ballOne, {0, FloorTop() + 3.0f, 0}, {0, -10, 0});
    Throw(ballTwo, {4, FloorTop() + 3.0f, 0}, {0, -10, 0});
    TempBallComp& ball = Ball(ballOne);
    Touch(ballOne, tiles[3], {0, -1, 0});
    ASSERT_EQ(Splashes().size(), 1u);
    const Engine::EntityHandle splash = Splashes().front();
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<ColourCollider>(splash)->colour.value, glm::vec3(0, 0, 1));
    EXPECT_TRUE(Body(splash).mGhost.value);
    EXPECT_EQ(Engine::ParticleEmitterManager::GetInstance().GetCompPtr(ballOne)->burstsLeft, 1) << "sparks";

    const std::uint32_t contacts = ball.mContacts;
    Touch(ballOne, tiles[3], {0, -0.9f, 0.1f});
    EXPECT_EQ(ball.mContacts, contacts) << "the same tile again";
    Touch(ballOne, tiles[4], {0, -1, 0});
    EXPECT_EQ(ball.mContacts, contacts + 1);
    EXPECT_EQ(Splashes().size(), 1u) << "within the cooldown";
    Touch(ballTwo, tiles[5], {0, -1, 0});
    EXPECT_EQ(Splashes().size(), 2u) << "each ball has its own cooldown";

    Frames(6);
    Touch(ballOne, tiles[3], {0, -1, 0});
    EXPECT_EQ(Splashes().size(), 3u) << "the cooldown has run out";
}

TEST_F(BallContact, ThePeersRecordsSplashStartAndEndItsTrailAndSlowTheBalls)
{
    Net::BallEffect splash;
    splash.effect = 0;
    splash.position = {2, FloorTop(), 2};
    splash.up = {0, 1, 0};
    EXPECT_EQ(Deliver(ballTwo, 6, splash), "");
    ASSERT_EQ(Splashes().size(), 1u);
    EXPECT_EQ(Position(Splashes().front()), splash.position);
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<ColourCollider>(Splashes().front())->colour.value, glm::vec3(1, 0, 0));

    Net::BallEffect trail;
    trail.effect = Net::BallEffect::kTrail;
    trail.trail = 1;
    Deliver(ballTwo, 6, trail);
    Frame();
    const Engine::EntityHandle front = Ball(ballTwo).mTrail.front();
    auto pieceState = [&] {
        return Engine::LogicManager::GetCompPtr<Engine::SMComponent>(front)->GetStateMachines()[0]->GetCurrentState()->GetName();
    };
    EXPECT_EQ(pieceState(), "TrailBegin");
    trail.trail = 0;
    Deliver(ballTwo, 6, trail);
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<Engine::SMComponent>(front)->GetStateMachines()[0]->GetNextState()->GetName(),
              "TrailEnd");

    splash.position.x = std::numeric_limits<float>::infinity();
    EXPECT_NE(Deliver(ballTwo, 6, splash).find("[Ball] Dropped"), std::string::npos);
    EXPECT_EQ(Splashes().size(), 1u);
    trail.trail = 2;
    EXPECT_NE(Deliver(ballTwo, 6, trail).find("trail neither on nor off"), std::string::npos);
    Net::PerkEffect unknown;
    unknown.subKind = 9;
    EXPECT_NE(Deliver(ballOne, 3, unknown).find("[Ball] Dropped"), std::string::npos);
    Frames(2);
    EXPECT_EQ(Ball(ballOne).SpeedMachine()->GetCurrentState()->GetName(), "Normal");

    SpawnGoalBall();
    Frame();
    Net::PerkEffect slow;
    slow.subKind = Net::PerkEffect::kSlowBall;
    Deliver(ballOne, 3, slow);
    Frames(2);
    EXPECT_EQ(Ball(ballOne).SpeedMachine()->GetCurrentState()->GetName(), "Slow");
    EXPECT_EQ(Ball(ballOne).ShootSpeed.value, 55.0f * 0.25f);
    EXPECT_EQ(Ball(ballOne).ReturnSpeed.value, 65.0f * 0.25f);
    const Engine::EntityHandle goal = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("GoalBall").front();
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<GoalBall>(goal)->mSpeed, 25.0f * 0.25f);
    Frames(197);
    EXPECT_EQ(Ball(ballOne).ShootSpeed.value, 55.0f * 0.25f);
    Frames(5);
    EXPECT_EQ(Ball(ballOne).ShootSpeed.value, 55.0f) << "for 2 s";
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<GoalBall>(goal)->mSpeed, 25.0f);
}

// A peer's splash is in its ball's owner's colour, as a splash here is.
TEST_F(BallContact, ThePeersSplashTakesItsOwnersColour)
{
    Net::BallEffect splash;
    splash.position = {2, FloorTop(), 2};
    splash.up = {0, 1, 0};
    EXPECT_EQ(Deliver(ballOne, 6, splash), "");
    ASSERT_EQ(Splashes().size(), 1u);
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<ColourCollider>(Splashes().front())->colour.value, glm::vec3(0, 0, 1));
}

} // namespace
