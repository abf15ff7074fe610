#include "CollisionTestSupport.h"

#include <glm/gtc/quaternion.hpp>
#include <random>
#include <string>

namespace {

using namespace Engine;

constexpr ECollisionShape kShapes[] = {ShapeAABB, ShapeSphere, ShapeOBB, ShapeCylinder, ShapeHexPrism, ShapeShell};

struct Sampler {
    std::mt19937 generator{20240531u};

    float Uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(generator); }

    Transform3D Sample(ECollisionShape shape, const glm::vec3& around)
    {
        Transform3D t;
        t.pos = around + glm::vec3(Uniform(-1.6f, 1.6f), Uniform(-1.6f, 1.6f), Uniform(-1.6f, 1.6f));
        if (shape == ShapeSphere || shape == ShapeShell)
            t.scale = glm::vec3(Uniform(0.3f, shape == ShapeShell ? 3.0f : 1.2f));
        else
            t.scale = glm::vec3(Uniform(0.3f, 1.3f), Uniform(0.3f, 1.3f), Uniform(0.3f, 1.3f));
        if (shape == ShapeAABB) {
            t.forward = glm::vec3(0, 0, 1);
            t.up = glm::vec3(0, 1, 0);
        } else {
            const glm::quat turn = glm::normalize(glm::quat(Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)));
            t.forward = turn * glm::vec3(0, 0, 1);
            t.up = turn * glm::vec3(0, 1, 0);
        }
        return t;
    }
};

using ShapePairSymmetry = CollisionTest::Fixture;

// Every pair test, asked with its bodies either way round, must agree on
// contact and depth and give opposite normals (and, for two different shapes,
// the same point).
TEST_F(ShapePairSymmetry, SwappingTheBodiesReversesTheNormalAndKeepsTheDepth)
{
    Sampler sampler;
    int pairs = 0;
    for (std::size_t i = 0; i < std::size(kShapes); ++i) {
        for (std::size_t k = i; k < std::size(kShapes); ++k) {
            const ECollisionShape shapeA = kShapes[i];
            const ECollisionShape shapeB = kShapes[k];
            const std::string name = std::to_string(shapeA) + "|" + std::to_string(shapeB);
            const ShapePairTest test = Mgr().GetShapeTests().Find(shapeA, shapeB);
            ASSERT_NE(test, nullptr) << name;
            ++pairs;
            // A test learns which body is which from their recorded shapes.
            const EntityHandle a = Body(shapeA, glm::vec3(0));
            const EntityHandle b = Body(shapeB, glm::vec3(0));
            int contacts = 0;
            for (int sample = 0; sample < 400; ++sample) {
                const Transform3D ta = sampler.Sample(shapeA, glm::vec3(0));
                const Transform3D tb = sampler.Sample(shapeB, ta.pos);
                ContactInfo forward;
                ContactInfo backward;
                const bool hitForward = test(a, b, ta, tb, &forward);
                const bool hitBackward = test(b, a, tb, ta, &backward);
                if (hitForward != hitBackward) {
                    // Only a contact on the very boundary may go either way.
                    EXPECT_LT(std::fabs(hitForward ? forward.depth : backward.depth), 1e-4f) << name;
                    continue;
                }
                if (!hitForward)
                    continue;
                ++contacts;
                EXPECT_NEAR(forward.depth, backward.depth, 1e-4f) << name << " sample " << sample;
                EXPECT_LT(glm::length(forward.normal + backward.normal), 1e-4f) << name << " sample " << sample;
                if (shapeA != shapeB) {
                    EXPECT_LT(glm::length(forward.point - backward.point), 1e-4f) << name << " sample " << sample;
                }
            }
            EXPECT_GT(contacts, 20) << name << " met too few contacts to say anything";
            Mgr().Clear();
        }
    }
    EXPECT_EQ(pairs, 21);
    EXPECT_EQ(Mgr().GetShapeTests().Find(0, ShapeSphere), nullptr); // a collider without a shape
}

} // namespace
