#include "engine/collision/BoxContacts.h"
#include "engine/collision/HexPrismShape.h"
#include "engine/collision/PrismContacts.h"
#include "engine/collision/SphereContacts.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using namespace Engine;
using namespace Engine::Contacts;

Transform3D Placed(const glm::vec3& pos, const glm::vec3& scale)
{
    return Transform3D{pos, scale, glm::vec3(0, 0, 1), glm::vec3(0, 1, 0)};
}

Transform3D Ball(const glm::vec3& pos, float radius) { return Placed(pos, glm::vec3(radius)); }

void ExpectVec(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(SphereContact, DepthAtOneAndAHalfAndExactlyTwoApart)
{
    ContactInfo c;
    ASSERT_TRUE(SphereSphere(Ball(glm::vec3(0), 1), Ball(glm::vec3(1.5f, 0, 0), 1), c));
    EXPECT_FLOAT_EQ(c.depth, 0.5f);
    ExpectVec(c.normal, glm::vec3(1, 0, 0));
    ExpectVec(c.point, glm::vec3(1, 0, 0));
    ASSERT_TRUE(SphereSphere(Ball(glm::vec3(0), 1), Ball(glm::vec3(2, 0, 0), 1), c));
    EXPECT_EQ(c.depth, 0.0f);
    EXPECT_FALSE(SphereSphere(Ball(glm::vec3(0), 1), Ball(glm::vec3(2.01f, 0, 0), 1), c));
}

TEST(SphereContact, CoincidentCentresAndAxisCentresFallBackToUp)
{
    ContactInfo c;
    ASSERT_TRUE(SphereSphere(Ball(glm::vec3(3), 1), Ball(glm::vec3(3), 0.5f), c));
    EXPECT_EQ(c.normal, glm::vec3(0, 1, 0));
    EXPECT_TRUE(std::isfinite(c.point.x));
    // A tall cylinder seen from its centre: the side is nearest, straight along the axis.
    ASSERT_TRUE(CylinderSphere(Placed(glm::vec3(0), glm::vec3(1, 5, 1)), Ball(glm::vec3(0), 0.25f), c));
    EXPECT_EQ(c.normal, glm::vec3(0, 1, 0));
    EXPECT_FLOAT_EQ(c.depth, 1.0f);
}

TEST(BoxContact, TouchingFacesCountAndTiesTakeXThenY)
{
    const Transform3D unit = Placed(glm::vec3(0), glm::vec3(1));
    ContactInfo c;
    ASSERT_TRUE(AabbAabb(unit, Placed(glm::vec3(2, 0.5f, 0), glm::vec3(1)), c));
    EXPECT_EQ(c.depth, 0.0f);
    EXPECT_EQ(c.normal, glm::vec3(1, 0, 0));

    ASSERT_TRUE(AabbAabb(unit, Placed(glm::vec3(-1.5f, -1.5f, -1.5f), glm::vec3(1)), c));
    EXPECT_EQ(c.normal, glm::vec3(-1, 0, 0));
    ASSERT_TRUE(AabbAabb(unit, Placed(glm::vec3(0.5f, 1.5f, 1.5f), glm::vec3(1)), c));
    EXPECT_EQ(c.normal, glm::vec3(0, 1, 0));
    ExpectVec(c.point, glm::vec3(1, 1, 1)); // A's first corner inside B
    EXPECT_TRUE(AabbSphere(unit, Ball(glm::vec3(1.5f, 0, 0), 0.5f), c)) << "a sphere resting on a face";

    // A sphere centred in a cube is equally deep on every axis: out along +x.
    ASSERT_TRUE(AabbSphere(Placed(glm::vec3(0), glm::vec3(2)), Ball(glm::vec3(0), 0.5f), c));
    EXPECT_EQ(c.normal, glm::vec3(1, 0, 0));
    EXPECT_FLOAT_EQ(c.depth, 2.5f);
}

TEST(CylinderContact, SphereOnTheCapReportsItsDistanceFromTheDisc)
{
    // Height 2 from y = 0; the sphere's centre 2.3 above the base, on the axis.
    const Transform3D cylinder = Placed(glm::vec3(0, 1, 0), glm::vec3(1, 1, 1));
    ContactInfo c;
    ASSERT_TRUE(CylinderSphere(cylinder, Ball(glm::vec3(0, 2.3f, 0), 0.5f), c));
    ExpectVec(c.point, glm::vec3(0, 2, 0));
    ExpectVec(c.normal, glm::vec3(0, 1, 0));
    EXPECT_NEAR(c.depth, 0.3f, 1e-5f);
    EXPECT_FALSE(CylinderSphere(cylinder, Ball(glm::vec3(0, 2.6f, 0), 0.5f), c));
    ASSERT_TRUE(CylinderSphere(cylinder, Ball(glm::vec3(1.3f, 2.3f, 0), 0.5f), c));
    ExpectVec(c.point, glm::vec3(1, 2, 0)); // beside the rim
}

TEST(ShellContact, OuterWallPushesOutInnerWallPushesInCentreIsFree)
{
    const Transform3D shell = Ball(glm::vec3(0), 10);
    ContactInfo c;
    EXPECT_FALSE(SphereShell(Ball(glm::vec3(0), 0.5f), shell, c));
    // Near the outer surface the normal from the sphere points at the shell's
    // centre, so the response moves the sphere outwards.
    ASSERT_TRUE(SphereShell(Ball(glm::vec3(9.2f, 0, 0), 0.5f), shell, c));
    ExpectVec(c.normal, glm::vec3(-1, 0, 0));
    EXPECT_NEAR(c.depth, 1.3f, 1e-5f);
    // Near the inner surface of the two-unit wall: turned round, pushed in.
    ASSERT_TRUE(SphereShell(Ball(glm::vec3(8.5f, 0, 0), 0.5f), shell, c));
    ExpectVec(c.normal, glm::vec3(1, 0, 0));
    EXPECT_NEAR(c.depth, 1.0f, 1e-5f);
    EXPECT_FALSE(ShellShell(Ball(glm::vec3(1, 0, 0), 3), shell, c));
}

TEST(PrismContact, TileFarFromTheOriginKeepsUnitNormalsAndHoldsASphere)
{
    const Transform3D tile = Placed(glm::vec3(60, -40, -35), glm::vec3(2.5f, 40, 2.5f));
    for (const HexPrismShape::Face& face : UnitHexPrism.Transformed(tile.GetModelMatrix()).faces)
        EXPECT_NEAR(glm::length(face.normal), 1.0f, 1e-5f);

    ContactInfo c;
    ASSERT_TRUE(PrismSphere(tile, Ball(glm::vec3(61, 0.4f, -34), 0.5f), c));
    ExpectVec(c.normal, glm::vec3(0, 1, 0));
    EXPECT_NEAR(c.depth, 0.1f, 1e-4f);
    ExpectVec(c.point, glm::vec3(61, 0, -34), 1e-4f);
    EXPECT_FALSE(PrismSphere(tile, Ball(glm::vec3(61, 0.6f, -34), 0.5f), c));
    // Beyond the edge between the top and the +z side: the contact is on that edge.
    const float side = -35 + 2.5f * 0.866025f;
    ASSERT_TRUE(PrismSphere(tile, Ball(glm::vec3(60, 0.2f, side + 0.2f), 0.5f), c));
    ExpectVec(c.point, glm::vec3(60, 0, side), 1e-4f);
    // A centre inside leaves through the nearest face.
    ASSERT_TRUE(PrismSphere(tile, Ball(glm::vec3(61, -0.2f, -35), 0.5f), c));
    ExpectVec(c.normal, glm::vec3(0, 1, 0));
    EXPECT_NEAR(c.depth, 0.7f, 1e-4f);
}

TEST(PrismContact, BoxAgainstPrismMeasuresTheUnitPrism)
{
    const Transform3D prism = Placed(glm::vec3(0), glm::vec3(1));
    ContactInfo c;
    ASSERT_TRUE(ObbPrism(Placed(glm::vec3(0, 1.4f, 0), glm::vec3(0.5f)), prism, c));
    ExpectVec(c.normal, glm::vec3(0, -1, 0));
    EXPECT_NEAR(c.depth, 0.1f, 1e-5f);
    EXPECT_FALSE(ObbPrism(Placed(glm::vec3(0, 1.6f, 0), glm::vec3(0.5f)), prism, c));
    ASSERT_TRUE(PrismPrism(prism, Placed(glm::vec3(0, 1.75f, 0), glm::vec3(1)), c));
    EXPECT_NEAR(c.depth, 0.25f, 1e-5f);
}

} // namespace
