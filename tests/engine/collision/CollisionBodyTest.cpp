#include "CollisionTestSupport.h"

#include <gmock/gmock.h>
#include <limits>
#include <nlohmann/json.hpp>

namespace {

using namespace Engine;

using BodyIntegration = CollisionTest::Fixture;

TEST_F(BodyIntegration, DefaultBodyFallsOneStepOfGravityWithDrag)
{
    const EntityHandle entity = Placed(glm::vec3(0.0f, 5.0f, 0.0f), glm::vec3(1.0f));
    CollisionComp& body = *Mgr().GetCompPtr(entity);
    SetFrame(100);

    body.Integrate(entity);

    EXPECT_FLOAT_EQ(body.mVelocity.value.y, -0.099f);
    EXPECT_FLOAT_EQ(Position(entity).y, 5.0f - 0.0099f);
    EXPECT_EQ(body.mAcceleration.value, glm::vec3(0.0f));
}

TEST_F(BodyIntegration, InverseMassZeroFreezesTheBodyAndOtherMassesFallAlike)
{
    const EntityHandle frozen = Placed(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(1.0f));
    CollisionComp& body = *Mgr().GetCompPtr(frozen);
    body.mInvMass.value = 0.0f;
    body.mVelocity.value = glm::vec3(4.0f, 0.0f, 0.0f);
    body.mAcceleration.value = glm::vec3(0.0f, 7.0f, 0.0f);
    const EntityHandle light = Placed(glm::vec3(0.0f), glm::vec3(1.0f));
    const EntityHandle heavy = Placed(glm::vec3(0.0f), glm::vec3(1.0f));
    Mgr().GetCompPtr(light)->mInvMass.value = 2.0f;
    Mgr().GetCompPtr(heavy)->mInvMass.value = 0.25f;
    SetFrame(50);

    for (int i = 0; i < 5; ++i) {
        for (const EntityHandle& entity : {frozen, light, heavy})
            BodyOf(entity).Integrate(entity);
    }

    EXPECT_EQ(body.mVelocity.value, glm::vec3(4.0f, 0.0f, 0.0f));
    EXPECT_EQ(body.mAcceleration.value, glm::vec3(0.0f, 7.0f, 0.0f));
    EXPECT_EQ(Position(frozen), glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_FLOAT_EQ(BodyOf(light).mVelocity.value.y, BodyOf(heavy).mVelocity.value.y);
    EXPECT_FLOAT_EQ(Position(light).y, Position(heavy).y);
}

ECollisionShape ShapeFrom(const nlohmann::json& j) { return j.get<ECollisionShape>(); }

TEST(ShapeJson, OnlyTheFiveFileShapesSurviveEverythingElseIsABox)
{
    EXPECT_EQ(ShapeFrom(16), ShapeHexPrism);
    EXPECT_EQ(ShapeFrom(8.9), ShapeCylinder);
    EXPECT_EQ(ShapeFrom(true), ShapeAABB);
    EXPECT_EQ(ShapeFrom(32), ShapeAABB); // a shell is made in code only
    EXPECT_EQ(ShapeFrom(-2), ShapeAABB);
    EXPECT_EQ(ShapeFrom(4294967298ull), ShapeAABB); // 2^32 + 2 must not wrap to a sphere
    EXPECT_EQ(ShapeFrom(std::numeric_limits<double>::quiet_NaN()), ShapeAABB);
    EXPECT_EQ(ShapeFrom(1e300), ShapeAABB);
    EXPECT_EQ(nlohmann::json(ShapeShell), nlohmann::json(32u));
    EXPECT_THAT([] { ShapeFrom("2"); }, testing::ThrowsMessage<nlohmann::json::type_error>(
                                            testing::HasSubstr("type_error.302] type must be number, but is string")));
}

} // namespace
