#include "CollisionTestSupport.h"

#include "engine/core/Math.h"
#include "support/CapturedOutput.h"

#include <functional>
#include <limits>
#include <string>

namespace {

using namespace Engine;
using CollisionTest::Fixture;
using CollisionTest::Heard;
using CollisionTest::Journal;
using CollisionTest::OnHeard;

std::vector<std::pair<std::uint32_t, std::uint32_t>> HeardPairs()
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    for (const Heard& heard : Journal())
        pairs.emplace_back(heard.target, heard.other);
    return pairs;
}

using CollisionPass = Fixture;

TEST_F(CollisionPass, EachBodyIsIntegratedThenMeetsLaterBodiesThenStatics)
{
    Table().SetPair("Default", "Default", 1); // events only: nothing is pushed
    std::vector<EntityHandle> bodies;
    for (int i = 0; i < 3; ++i) {
        bodies.push_back(Body(ShapeSphere, glm::vec3(0.5f * i, 0, 0)));
        BodyOf(bodies.back()).mVelocity.value = glm::vec3(0, -1, 0);
        BodyOf(bodies.back()).mDrag.value = 1.0f;
    }
    const EntityHandle wall = Static(ShapeSphere, glm::vec3(0.5f, 0, 0));
    const std::uint32_t a = bodies[0].GetIndex(), b = bodies[1].GetIndex(), c = bodies[2].GetIndex(),
                        s = wall.GetIndex();
    SetFrame(100);

    Mgr().Update();

    using P = std::pair<std::uint32_t, std::uint32_t>;
    const std::vector<P> expected{{a, b}, {b, a}, {a, c}, {c, a}, {a, s}, {s, a},
                                  {b, c}, {c, b}, {b, s}, {s, b}, {c, s}, {s, c}};
    EXPECT_EQ(HeardPairs(), expected);
    ASSERT_EQ(Journal().size(), 12u);
    // A body has moved when it meets a later one, which has not yet.
    EXPECT_FLOAT_EQ(Journal()[0].targetPosition.y, -0.1f);
    EXPECT_FLOAT_EQ(Journal()[0].otherPosition.y, 0.0f);
    EXPECT_FLOAT_EQ(Journal()[2].otherPosition.y, 0.0f);
    EXPECT_FLOAT_EQ(Journal()[6].targetPosition.y, -0.1f);
    EXPECT_FLOAT_EQ(Journal()[6].otherPosition.y, 0.0f);
    EXPECT_FLOAT_EQ(Journal()[10].targetPosition.y, -0.1f);
    // The second event of a pair carries the reversed normal.
    EXPECT_EQ(Journal()[1].normal, -Journal()[0].normal);
    EXPECT_EQ(Journal()[1].depth, Journal()[0].depth);
}

TEST_F(CollisionPass, IgnoredPairsAreNeitherTestedNorHeard)
{
    Table().AddTag("Ball");
    const EntityHandle a = Body(ShapeSphere, glm::vec3(0));
    const EntityHandle b = Body(ShapeSphere, glm::vec3(0.5f, 0, 0));
    BodyOf(b).SetCollisionType("Ball");
    Table().SetPair("Default", "Ball", 0);
    SetFrame(10);
    Mgr().ResetNarrowTestCount();

    Mgr().Update();

    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(Mgr().GetNarrowTestCount(), 0u);
    EXPECT_EQ(Position(a), glm::vec3(0));
}

TEST_F(CollisionPass, HeadOnSpheresAreSplitAndBounced)
{
    const EntityHandle a = Body(ShapeSphere, glm::vec3(0));
    const EntityHandle b = Body(ShapeSphere, glm::vec3(1.8f, 0, 0));
    BodyOf(a).mVelocity.value = glm::vec3(1, 0, 0);
    BodyOf(a).mRestitution.value = 1.0f;
    BodyOf(b).mVelocity.value = glm::vec3(-1, 0, 0);
    BodyOf(b).mRestitution.value = 0.5f;

    Mgr().CollidePair(a, b, MakeTransform3D(a), MakeTransform3D(b), ShapeSphere, ShapeSphere, 0, 0, false, true);

    EXPECT_NEAR(Position(a).x, -0.1f, 1e-6f);
    EXPECT_NEAR(Position(b).x, 1.9f, 1e-6f);
    EXPECT_FLOAT_EQ(BodyOf(a).mVelocity.value.x, -0.5f);
    EXPECT_FLOAT_EQ(BodyOf(b).mVelocity.value.x, 0.5f);
    EXPECT_EQ(Journal().size(), 2u);
}

// A pair the game's rule keeps apart in the physics still hears its contact;
// the rule sees the pair in the pass's order.
TEST_F(CollisionPass, APairTheRuleRefusesIsHeardButNeitherPushedNorBounced)
{
    static std::vector<std::pair<std::uint32_t, std::uint32_t>> asked;
    asked.clear();
    Mgr().SetPairPush([](EntityHandle a, EntityHandle b) {
        asked.emplace_back(a.GetIndex(), b.GetIndex());
        return false;
    });
    const EntityHandle a = Body(ShapeSphere, glm::vec3(0));
    const EntityHandle b = Body(ShapeSphere, glm::vec3(1.8f, 0, 0));
    BodyOf(a).mVelocity.value = glm::vec3(1, 0, 0);
    BodyOf(b).mVelocity.value = glm::vec3(-1, 0, 0);

    Mgr().CollidePair(a, b, MakeTransform3D(a), MakeTransform3D(b), ShapeSphere, ShapeSphere, 0, 0, false, true);

    EXPECT_EQ(Journal().size(), 2u);
    EXPECT_EQ(asked, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{a.GetIndex(), b.GetIndex()}}));
    EXPECT_EQ(Position(a), glm::vec3(0));
    EXPECT_EQ(Position(b), glm::vec3(1.8f, 0, 0));
    EXPECT_EQ(BodyOf(a).mVelocity.value, glm::vec3(1, 0, 0));
    EXPECT_EQ(BodyOf(b).mVelocity.value, glm::vec3(-1, 0, 0));
}

// A contact of NaN or infinity would carry it into both places: it is
// heard, and moves nothing.
TEST_F(CollisionPass, NonFiniteContactIsHeardButMovesNoBody)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const ShapePairTest nanNormal = [](EntityHandle, EntityHandle, const Transform3D&, const Transform3D&,
                                       ContactInfo* contact) {
        *contact = ContactInfo{glm::vec3(0), glm::vec3(kNaN, 0, 0), 0.1f};
        return true;
    };
    const ShapePairTest infiniteDepth = [](EntityHandle, EntityHandle, const Transform3D&, const Transform3D&,
                                           ContactInfo* contact) {
        *contact = ContactInfo{glm::vec3(0), glm::vec3(1, 0, 0), kInfinity};
        return true;
    };
    for (const ShapePairTest broken : {nanNormal, infiniteDepth}) {
        const EntityHandle a = Body(ShapeSphere, glm::vec3(0));
        const EntityHandle b = Body(ShapeSphere, glm::vec3(1.5f, 0, 0));
        BodyOf(a).mVelocity.value = glm::vec3(1, 0, 0);
        Journal().clear();

        EXPECT_TRUE(Mgr().TestPair(a, b, MakeTransform3D(a), MakeTransform3D(b), CollisionTable::kCollide, broken,
                                   false, true));

        EXPECT_EQ(Journal().size(), 2u);
        EXPECT_EQ(Position(a), glm::vec3(0));
        EXPECT_EQ(Position(b), glm::vec3(1.5f, 0, 0));
        EXPECT_EQ(BodyOf(a).mVelocity.value, glm::vec3(1, 0, 0));
        EXPECT_EQ(BodyOf(b).mVelocity.value, glm::vec3(0));
    }
}

// An immovable body keeps whatever velocity it was given, NaN included;
// a ball bounced off it would take that NaN into its velocity and then its
// place. Such a body is left out of the response, and said so once.
TEST_F(CollisionPass, BodyWithANonFiniteVelocityIsLeftOutOfTheResponseAndNamedOnce)
{
    // One ball meets the wall as the pair's first body, the other as its second.
    const EntityHandle before = Body(ShapeSphere, glm::vec3(-1.5f, 0, 0));
    const EntityHandle wall = Body(ShapeSphere, glm::vec3(0));
    const EntityHandle after = Body(ShapeSphere, glm::vec3(1.5f, 0, 0));
    BodyOf(wall).mInvMass.value = 0.0f;
    BodyOf(wall).mVelocity.value = glm::vec3(std::numeric_limits<float>::quiet_NaN());
    BodyOf(before).mVelocity.value = glm::vec3(1, 0, 0);
    BodyOf(after).mVelocity.value = glm::vec3(-1, 0, 0);

    std::vector<std::string> printed;
    for (int frame = 0; frame < 3; ++frame) {
        SetFrame(10);
        printed.push_back(StderrOf([] { Mgr().Update(); }));
    }

    EXPECT_EQ(Journal().size(), 12u) << "the contacts are still heard";
    for (const EntityHandle& ball : {before, after}) {
        EXPECT_TRUE(Math::IsFinite(BodyOf(ball).mVelocity.value));
        EXPECT_TRUE(Math::IsFinite(Position(ball)));
    }
    EXPECT_EQ(Position(wall), glm::vec3(0));
    EXPECT_NE(printed[0].find("Entity " + std::to_string(wall.GetIndex()) + " has a NaN or infinite velocity"),
              std::string::npos)
        << printed[0];
    EXPECT_EQ(printed[1] + printed[2], "");
}

TEST_F(CollisionPass, GhostIsHeardButNeverMoved)
{
    const EntityHandle ghost = Body(ShapeSphere, glm::vec3(0));
    const EntityHandle solid = Body(ShapeSphere, glm::vec3(1.5f, 0.8f, 0));
    BodyOf(ghost).mGhost.value = true;
    BodyOf(ghost).mVelocity.value = glm::vec3(1, 0, 0);
    BodyOf(ghost).mDrag.value = 1.0f;
    const EntityHandle floor = Static(ShapeAABB, glm::vec3(0, -1, 0), glm::vec3(5, 0.5f, 5));
    SetFrame(100);

    Mgr().Update();

    ASSERT_EQ(HeardPairs().size(), 4u); // ghost-solid and ghost-floor, both ways
    EXPECT_EQ(Journal()[2].other, floor.GetIndex());
    EXPECT_FLOAT_EQ(Position(ghost).x, 0.1f);
    EXPECT_FLOAT_EQ(Position(ghost).y, 0.0f);
    EXPECT_EQ(BodyOf(ghost).mVelocity.value, glm::vec3(1, 0, 0));
    EXPECT_EQ(Position(solid), glm::vec3(1.5f, 0.8f, 0));
    EXPECT_EQ(BodyOf(solid).mVelocity.value, glm::vec3(0));
}

TEST_F(CollisionPass, StaticColliderPushesOutAndBouncesOnlyAnApproachingBody)
{
    const EntityHandle wall = Static(ShapeSphere, glm::vec3(1.5f, 0, 0));
    const EntityHandle leaving = Body(ShapeSphere, glm::vec3(0));
    BodyOf(leaving).mVelocity.value = glm::vec3(-1, 0, 0);
    Mgr().CollidePair(leaving, wall, MakeTransform3D(leaving), MakeTransform3D(wall), ShapeSphere, ShapeSphere, 0, 0,
                      false, false);
    EXPECT_NEAR(Position(leaving).x, -0.5f, 1e-6f);
    EXPECT_EQ(BodyOf(leaving).mVelocity.value, glm::vec3(-1, 0, 0));
    EXPECT_EQ(Position(wall), glm::vec3(1.5f, 0, 0));

    const EntityHandle coming = Body(ShapeSphere, glm::vec3(0, 0, 0));
    BodyOf(coming).mVelocity.value = glm::vec3(2, 0, 0);
    BodyOf(coming).mRestitution.value = 0.5f;
    Mgr().CollidePair(coming, wall, MakeTransform3D(coming), MakeTransform3D(wall), ShapeSphere, ShapeSphere, 0, 0,
                      false, false);
    EXPECT_FLOAT_EQ(BodyOf(coming).mVelocity.value.x, -1.0f);

    const EntityHandle fixed = Body(ShapeSphere, glm::vec3(0));
    BodyOf(fixed).mInvMass.value = 0.0f;
    BodyOf(fixed).mVelocity.value = glm::vec3(2, 0, 0);
    Journal().clear();
    Mgr().CollidePair(fixed, wall, MakeTransform3D(fixed), MakeTransform3D(wall), ShapeSphere, ShapeSphere, 0, 0, false,
                      false);
    EXPECT_EQ(Journal().size(), 2u);
    EXPECT_EQ(Position(fixed), glm::vec3(0));
    EXPECT_EQ(BodyOf(fixed).mVelocity.value, glm::vec3(2, 0, 0));
}

TEST_F(CollisionPass, HandlersMayRemoveAndCreateBodiesAndCollidersMidPass)
{
    Table().SetPair("Default", "Default", 1); // nobody is pushed out of reach
    std::vector<EntityHandle> bodies;
    for (int i = 0; i < 4; ++i)
        bodies.push_back(Body(ShapeSphere, glm::vec3(0.3f * i, 0, 0)));
    const EntityHandle first = Static(ShapeSphere, glm::vec3(0, 0.5f, 0));
    const EntityHandle second = Static(ShapeSphere, glm::vec3(0, -0.5f, 0));
    std::vector<EntityHandle> spawned;
    OnHeard() = [&](const Heard& heard) {
        if (heard.target == bodies[0].GetIndex() && heard.other == bodies[1].GetIndex()) {
            Mgr().RemoveComponent(bodies[1]); // the body being met
            Mgr().RemoveComponent(bodies[2]); // a body still ahead
            spawned.push_back(Body(ShapeSphere, glm::vec3(0.1f, 0, 0))); // a splash
        }
        // The node's list starts with the collider filed last.
        if (heard.target == bodies[0].GetIndex() && heard.other == second.GetIndex()) {
            Statics().RemoveComponent(second);
            Statics().RemoveComponent(first); // still ahead in the same node
            spawned.push_back(Static(ShapeSphere, glm::vec3(0)));
        }
        if (heard.target == bodies[3].GetIndex() && spawned.size() == 2 && heard.other == spawned[1].GetIndex())
            Mgr().RemoveComponent(bodies[3]); // the body whose turn it is
    };
    SetFrame(10);

    Mgr().Update();

    EXPECT_TRUE(Mgr().HasComponent(bodies[0]));
    for (const EntityHandle& body : {bodies[1], bodies[2], bodies[3]})
        EXPECT_FALSE(Mgr().HasComponent(body));
    ASSERT_EQ(spawned.size(), 2u);
    EXPECT_TRUE(Mgr().HasComponent(spawned[0]));
    for (const Heard& heard : Journal()) {
        EXPECT_NE(heard.other, bodies[2].GetIndex());
        EXPECT_NE(heard.other, first.GetIndex());
    }
    OnHeard() = nullptr;
    Mgr().Update(); // and the next frame runs over what is left
}

// Colliders met after a contact see what its handler changed: the body's
// place, and the table.
TEST_F(CollisionPass, CollidersMetAfterAContactSeeWhatItsHandlerChanged)
{
    Table().SetPair("Default", "Default", 1);
    const EntityHandle body = Body(ShapeSphere, glm::vec3(0));
    const EntityHandle second = Static(ShapeSphere, glm::vec3(-0.5f, 0, 0));
    const EntityHandle first = Static(ShapeSphere, glm::vec3(0.5f, 0, 0)); // filed last: met first
    using Pairs = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    const Pairs firstOnly{{body.GetIndex(), first.GetIndex()}, {first.GetIndex(), body.GetIndex()}};
    Pairs both = firstOnly;
    both.insert(both.end(), {{body.GetIndex(), second.GetIndex()}, {second.GetIndex(), body.GetIndex()}});
    const std::vector<std::pair<std::function<void()>, Pairs>> cases{
        {[] {}, both},
        {[&] { Engine::Transform::PositionRef(body) = glm::vec3(10, 0, 0); }, firstOnly},
        {[] { Table().SetPair("Default", "Default", 0); }, firstOnly},
    };
    for (const auto& [change, heard] : cases) {
        Engine::Transform::PositionRef(body) = glm::vec3(0);
        Journal().clear();
        OnHeard() = [&, &change = change](const Heard& event) {
            if (event.target == first.GetIndex())
                change();
        };
        Mgr().Update();
        EXPECT_EQ(HeardPairs(), heard);
    }
}

TEST_F(CollisionPass, BodyWithoutATransformIsSkipped)
{
    const EntityHandle bare = EntityMgr::GetInstance().CreateEntity();
    CollisionComp& body = *Mgr().GetCompPtr(bare);
    body.mCollisionShape.value = ShapeSphere;
    Body(ShapeSphere, glm::vec3(0));
    SetFrame(100);

    Mgr().Update();

    EXPECT_EQ(body.mVelocity.value, glm::vec3(0));
    EXPECT_TRUE(Journal().empty());
}

} // namespace
