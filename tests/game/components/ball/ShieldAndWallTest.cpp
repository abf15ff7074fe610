// The shield bubble of the peer's player and the walls that reflect balls.
#include "game/components/BallScene.h"

#include "game/components/ball/ShieldLogic.h"
#include "game/components/objects/WallCollider.h"

namespace {

class ShieldAndWall : public BallScene {
protected:
    static std::vector<Engine::EntityHandle> Shields()
    {
        return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("shield");
    }
    static bool Alive(Engine::EntityHandle entity)
    {
        return entity.Exists();
    }

    // A wall facing `up`, as level content places one.
    static Engine::EntityHandle Wall(const glm::vec3& at, const glm::vec3& up)
    {
        const Engine::EntityHandle wall = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(wall);
        Engine::Transform::SetWorldPosition(wall, at);
        Engine::Transform::UpRef(wall) = up;
        Engine::LogicManager::GetInstance().AddComponent<WallCollider>(wall);
        return wall;
    }

    static void Hit(Engine::EntityHandle wall, Engine::EntityHandle ball, float depth)
    {
        Engine::CollisionEvent contact;
        contact.other = ball;
        contact.depth = depth;
        Engine::EventHandlerList::Raise(contact, wall);
    }
};

TEST_F(ShieldAndWall, AShieldFollowsItsOwnerForFiveSecondsAndMarksBothBalls)
{
    Component(two).CreateShield();
    ASSERT_EQ(Shields().size(), 1u);
    const Engine::EntityHandle shield = Shields().front();
    const Engine::CollisionComp& body = Body(shield);
    EXPECT_TRUE(body.mGhost.value);
    EXPECT_EQ(body.mInvMass.value, 0.0f);
    EXPECT_EQ(*Engine::Transform::ScalePtr(shield), glm::vec3(1.5f, 3.0f, 1.5f));
    EXPECT_TRUE(Ball(ballTwo).mPassThrough.set);
    EXPECT_EQ(Ball(ballTwo).mPassThrough.shield, shield);
    EXPECT_TRUE(Ball(ballOne).mBlock.set);

    // Five real seconds, however slow the end-of-match slow motion (2 %
    // slower each frame) makes the game.
    const float startHeight = Position(shield).y;
    for (int frame = 0; frame < 490; ++frame) {
        Engine::FrameRateController::SetTimeScale(Engine::FrameRateController::GetTimeScale() * 0.98);
        Frame();
        ASSERT_TRUE(Alive(shield)) << frame;
        EXPECT_NEAR(glm::distance(Position(shield), Position(two) + glm::vec3(0, 0.5f, 0)), 0.0f, 0.2f);
    }
    EXPECT_NEAR(Position(shield).y, startHeight + 0.5f, 0.2f) << "it does not fall";
    Frames(12);
    EXPECT_FALSE(Alive(shield));
    EXPECT_FALSE(Ball(ballTwo).mPassThrough.set);
    EXPECT_FALSE(Ball(ballOne).mBlock.set) << "no later entity in its slot is taken for it";
}

TEST_F(ShieldAndWall, TheOwnersBallFliesThroughAndTheOpponentsGoesBackToTheHandForThreeSeconds)
{
    Component(two).CreateShield();
    const Engine::EntityHandle shield = Shields().front();
    Throw(ballTwo, Position(two) + glm::vec3(0, 0, 2), {0, 0, 10});
    const std::uint32_t contacts = Ball(ballTwo).mContacts;
    Touch(ballTwo, shield, {0, 0, 1});
    EXPECT_EQ(Ball(ballTwo).mContacts, contacts) << "its own shield";

    ClickLeft();
    ASSERT_EQ(Flight(ballOne), "BallBouncing");
    Touch(ballOne, shield, {1, 0, 0});
    Frame();
    EXPECT_EQ(Flight(ballOne), "BallIdle");
    EXPECT_FALSE(Alive(shield)) << "a block spends the shield";
    EXPECT_FALSE(Ball(ballOne).mBlock.set);

    // Shots are held back for 3 s, then the last one leaves.
    for (int i = 0; i < 145; ++i) {
        ClickLeft();
        ASSERT_EQ(Flight(ballOne), "BallIdle") << i;
    }
    Frames(15);
    EXPECT_EQ(Flight(ballOne), "BallBouncing");
}

TEST_F(ShieldAndWall, ASecondShieldKeepsItsMarksWhenTheFirstGoes)
{
    Component(two).CreateShield();
    Frames(100);
    Component(two).CreateShield();
    ASSERT_EQ(Shields().size(), 2u);
    const Engine::EntityHandle second = Ball(ballOne).mBlock.shield;
    Frames(420);
    EXPECT_EQ(Shields().size(), 1u);
    EXPECT_TRUE(Ball(ballOne).mBlock.set);
    EXPECT_EQ(Ball(ballOne).mBlock.shield, second);
    EXPECT_TRUE(Ball(ballTwo).mPassThrough.set);
    Frames(100);
    EXPECT_TRUE(Shields().empty());
    EXPECT_FALSE(Ball(ballOne).mBlock.set);
}

TEST_F(ShieldAndWall, AWallReflectsABallAboutItsUpVectorAndLivesTwoUpdatesUnrenewed)
{
    struct Case {
        const char* name;
        glm::vec3 velocity;
        glm::vec3 after;
    };
    const float e = 0.998f;
    const Case cases[] = {
        {"head on", {-10, 0, 0}, {10 * e, 0, 0}},
        {"at a slant", {-6, 2, 3}, {6 * e, 2, 3}},
        {"already leaving", {4, 0, 1}, {4, 0, 1}},
    };
    const glm::vec3 at(0.0f, FloorTop() + 12.0f, 0.0f);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Throw(ballOne, at + glm::vec3(0.2f, 0, 0), test.velocity);
        const Engine::EntityHandle wall = Wall(at, {1, 0, 0});
        Hit(wall, ballOne, -0.25f);
        EXPECT_NEAR(glm::distance(Velocity(ballOne), test.after), 0.0f, 1e-5f);
        EXPECT_NEAR(Position(ballOne).x, 0.45f, 1e-5f) << "pushed out by the depth";
        EXPECT_TRUE(Alive(wall));
        Frame();
        EXPECT_TRUE(Alive(wall)) << "its first update spends the keep-alive";
        Frame();
        EXPECT_FALSE(Alive(wall));
    }
    // A wall whose keep-alive is renewed stays.
    const Engine::EntityHandle kept = Wall(at, {1, 0, 0});
    for (int i = 0; i < 5; ++i) {
        Engine::LogicManager::GetCompPtr<WallCollider>(kept)->mKeepAlive = 1;
        Frame();
    }
    EXPECT_TRUE(Alive(kept));
}

TEST_F(ShieldAndWall, ABallHittingAWallTouchesTheTileBelowToo)
{
    const glm::vec3 above = Position(HexGrid::GetInstance().tiles[24]);
    const glm::vec3 at(above.x, FloorTop() + 1.0f, above.z);
    const Engine::EntityHandle wall = Wall(at, {0, 1, 0});
    Throw(ballOne, at, {3, -5, 0});
    // The collision manager gives the ball its side of the contact first.
    Touch(ballOne, wall, {0, -1, 0});
    Hit(wall, ballOne, 0.0f);
    EXPECT_NEAR(glm::distance(Velocity(ballOne), glm::vec3(3, 5 * 0.998f, 0)), 0.0f, 1e-5f);
    EXPECT_EQ(Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Colour_Collider").size(), 1u)
        << "the tile below splashed";
    EXPECT_TRUE(Engine::EntityTagCompManager::GetInstance().HasTag(Ball(ballOne).mLastTile, "Tile"));
}

} // namespace
