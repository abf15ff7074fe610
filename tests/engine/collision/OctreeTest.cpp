#include "CollisionTestSupport.h"

#include "engine/collision/RayTests.h"

#include <cmath>
#include <limits>

namespace {

using namespace Engine;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(OctreeCodes, PointsAndBoxesMapToTheSmallestNodeOrTheRoot)
{
    // 128 is 1000 0000 in binary: the groups 111, then four of 000.
    EXPECT_EQ(SpatialCollisionMgr::PointToCode(glm::ivec3(0)), 0b1'111'000'000'000'000u);
    EXPECT_EQ(SpatialCollisionMgr::PointToCode(glm::ivec3(128, 0, 0)), 1u);
    // z, y, x from high to low within a group: only x in the upper half.
    EXPECT_EQ(SpatialCollisionMgr::PointToCode(glm::ivec3(100, -100, -100)) >> 12, 0b1'001u);

    const std::uint32_t cell = SpatialCollisionMgr::BoxToCode(glm::vec3(3.5f, 4.5f, 2.5f), glm::vec3(0.4f));
    EXPECT_EQ(cell, SpatialCollisionMgr::PointToCode(glm::ivec3(3, 4, 2)));
    EXPECT_EQ(SpatialCollisionMgr::CodeToBox(cell).half, 4.0f);
    EXPECT_EQ(SpatialCollisionMgr::CodeToBox(cell).centre, glm::vec3(4, 4, 4));
    // Corners 12 and 52 share the upper octant and its lower child, no more.
    EXPECT_EQ(SpatialCollisionMgr::BoxToCode(glm::vec3(32), glm::vec3(20)), 0b1'111'000u);
    EXPECT_EQ(SpatialCollisionMgr::BoxToCode(glm::vec3(0, 50, 50), glm::vec3(1)), 1u); // spans x = 0
    EXPECT_EQ(SpatialCollisionMgr::BoxToCode(glm::vec3(kNaN, 5, 5), glm::vec3(1)), 1u);
    EXPECT_EQ(SpatialCollisionMgr::BoxToCode(glm::vec3(3e9f, 5, 5), glm::vec3(1)), 1u);
}

// Decides which nodes a body's walk enters: a sphere just touching a node's
// face, edge or corner must enter it, and one a hair short must not.
TEST(OctreeCodes, SphereTouchesANodeUpToItsBoundsOnEverySideOfEveryAxis)
{
    const Octree::Box node{glm::vec3(4, 4, 4), 4.0f}; // 0 to 8 on each axis
    const float shortOfTwo = std::nextafter(2.0f, 0.0f);
    for (int axis = 0; axis < 3; ++axis) {
        for (const float side : {-1.0f, 1.0f}) {
            SCOPED_TRACE(testing::Message() << "axis " << axis << " side " << side);
            glm::vec3 centre = node.centre;
            centre[axis] += side * 6.0f; // 2 beyond the face
            EXPECT_TRUE(Octree::SphereTouchesBox(centre, 2.0f, node));
            EXPECT_FALSE(Octree::SphereTouchesBox(centre, shortOfTwo, node));
        }
    }
    // Beyond the corner (0, 8, 0) by 2, -3 and -6 on the three axes: 7 away.
    EXPECT_TRUE(Octree::SphereTouchesBox(glm::vec3(-2, 11, -6), 7.0f, node));
    EXPECT_FALSE(Octree::SphereTouchesBox(glm::vec3(-2, 11, -6), std::nextafter(7.0f, 0.0f), node));
    EXPECT_TRUE(Octree::SphereTouchesBox(glm::vec3(1, 7, 3), 0.0f, node)); // inside
}

using OctreeNodes = CollisionTest::Fixture;

TEST_F(OctreeNodes, EmptiedBranchesArePrunedUpToTheRoot)
{
    const EntityHandle keeper = Static(ShapeAABB, glm::vec3(-60, -60, -60), glm::vec3(1));
    const EntityHandle small = Static(ShapeAABB, glm::vec3(3.5f, 4.5f, 2.5f), glm::vec3(0.4f));
    const std::uint32_t cell = SpatialCollisionMgr::PointToCode(glm::ivec3(3, 4, 2));
    EXPECT_EQ(Statics().FindCollider(small)->node, Statics().FindNode(cell));
    for (std::uint32_t code = cell; code > 1; code >>= 3)
        EXPECT_TRUE(Statics().FindNode(code >> 3)->childMask & (1u << (code & 7))) << code;
    const std::size_t nodes = Statics().NodeCount();

    Transform::PositionRef(small) = glm::vec3(0, 4.5f, 2.5f); // now across x = 0
    Statics().UpdateCollider(small);
    EXPECT_EQ(Statics().CollidersIn(1), 1u);
    EXPECT_EQ(Statics().NodeCount(), nodes - 5);

    Statics().RemoveComponent(small);
    Statics().RemoveComponent(keeper);
    EXPECT_EQ(Statics().NodeCount(), 0u);
}

TEST_F(OctreeNodes, BodyMeetsOnlyCollidersOfTouchedNodesAndAlwaysTheRoot)
{
    Table().SetPair("Default", "Default", 1);
    const EntityHandle body = Body(ShapeSphere, glm::vec3(40, 40, 40), glm::vec3(0.5f));
    const EntityHandle nearBy = Static(ShapeSphere, glm::vec3(40.5f, 40, 40), glm::vec3(0.5f));
    Static(ShapeSphere, glm::vec3(-40, -40, -40), glm::vec3(0.5f)); // far away: culled
    Static(ShapeAABB, glm::vec3(0, 0, 0), glm::vec3(200));          // in the root, holds everything
    Mgr().ResetNarrowTestCount();
    SetFrame(10);

    Mgr().Update();

    EXPECT_EQ(Mgr().GetNarrowTestCount(), 2u);
    const std::vector<RayHit> overlaps = Statics().QueryOverlaps(MakeTransform3D(body), 0.87f, body);
    ASSERT_EQ(overlaps.size(), 2u);
    EXPECT_EQ(overlaps[1].entity, nearBy);
}

using OctreeRays = CollisionTest::Fixture;

TEST_F(OctreeRays, InsideHitsAtZeroParallelZeroAndNaNRaysMiss)
{
    const EntityHandle box = Static(ShapeAABB, glm::vec3(10, 10, 10), glm::vec3(2));
    const RayHit inside = Statics().RayCast(glm::vec3(10.5f, 10, 9), glm::vec3(0, 1, 0));
    EXPECT_EQ(inside.entity, box);
    EXPECT_EQ(inside.distance, 0.0f);
    EXPECT_FLOAT_EQ(Statics().RayCast(glm::vec3(0, 10, 10), glm::vec3(2, 0, 0)).distance, 4.0f);
    EXPECT_EQ(Statics().RayCast(glm::vec3(0, 13, 10), glm::vec3(1, 0, 0)).distance, -1.0f);
    EXPECT_EQ(Statics().RayCast(glm::vec3(10, 10, 10), glm::vec3(0)).distance, -1.0f);
    EXPECT_EQ(Statics().RayCast(glm::vec3(kNaN, 10, 10), glm::vec3(1, 0, 0)).distance, -1.0f);
    Static(ShapeShell, glm::vec3(100, 100, 100), glm::vec3(3)); // no ray test
    EXPECT_TRUE(Statics().RayCast(glm::vec3(100, 120, 100), glm::vec3(0, -1, 0)).entity.IsNull());
}

TEST_F(OctreeRays, NearestHitWinsAndTiesGoTowardsTheRootThenTheListHead)
{
    const EntityHandle farBox = Static(ShapeAABB, glm::vec3(30, 5, 5), glm::vec3(1));
    const EntityHandle nearBox = Static(ShapeAABB, glm::vec3(20, 5, 5), glm::vec3(1));
    EXPECT_EQ(Statics().RayCast(glm::vec3(0, 5, 5), glm::vec3(1, 0, 0)).entity, nearBox);
    EXPECT_EQ(Statics().RayCast(glm::vec3(50, 5, 5), glm::vec3(-1, 0, 0)).entity, farBox);

    const EntityHandle deepBox = Static(ShapeAABB, glm::vec3(5, 5, 15), glm::vec3(1));
    const EntityHandle rootBox = Static(ShapeAABB, glm::vec3(0, 5, 15), glm::vec3(10, 1, 1)); // spans x = 0
    ASSERT_GT(Octree::LevelOf(Statics().FindCollider(deepBox)->node->code), 2);
    const RayHit tie = Statics().RayCast(glm::vec3(5, 20, 15), glm::vec3(0, -1, 0));
    EXPECT_EQ(tie.entity, rootBox);
    EXPECT_FLOAT_EQ(tie.distance, 14.0f);
    const EntityHandle twin = Static(ShapeAABB, glm::vec3(0, 5, 15), glm::vec3(10, 1, 1));
    EXPECT_EQ(Statics().RayCast(glm::vec3(5, 20, 15), glm::vec3(0, -1, 0)).entity, twin);
}

TEST(RayShapes, CylinderAndPrism)
{
    const Transform3D cylinder{glm::vec3(0, 1, 0), glm::vec3(1, 1, 1), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0)};
    EXPECT_FLOAT_EQ(Rays::Cylinder(glm::vec3(0.5f, 5, 0), glm::vec3(0, -1, 0), cylinder), 3.0f); // top cap
    EXPECT_LT(Rays::Cylinder(glm::vec3(1.5f, 5, 0), glm::vec3(0, -1, 0), cylinder), 0.0f);
    EXPECT_FLOAT_EQ(Rays::Cylinder(glm::vec3(-5, 1, 0), glm::vec3(1, 0, 0), cylinder), 4.0f); // side
    EXPECT_NEAR(Rays::Cylinder(glm::vec3(-3, 4, 0), glm::vec3(1, -1, 0), cylinder), 2.0f, 1e-5f); // slanting onto the top

    const glm::mat4 tile =
        Transform3D{glm::vec3(60, -40, -35), glm::vec3(2.5f, 40, 2.5f), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0)}
            .GetModelMatrix();
    EXPECT_NEAR(Rays::Prism(glm::vec3(61, 10, -35), glm::vec3(0, -1, 0), tile), 10.0f, 1e-4f);
    EXPECT_LT(Rays::Prism(glm::vec3(62.4f, 10, -33), glm::vec3(0, -1, 0), tile), 0.0f); // beside a slanted side
    EXPECT_LT(Rays::Prism(glm::vec3(61, 10, -35), glm::vec3(0, 1, 0), tile), 0.0f);   // heading away
    EXPECT_LT(Rays::Prism(glm::vec3(61, -5, -35), glm::vec3(0, 1, 0), tile), 0.0f);   // from inside
    EXPECT_NEAR(Rays::Prism(glm::vec3(50, -5, -35), glm::vec3(1, 0, 0), tile), 7.5f, 1e-4f); // onto a corner
}

} // namespace
