#include "CollisionTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using namespace Engine;

constexpr int kTileCount = 1370;
constexpr float kTileRadius = 2.5f;
const glm::vec3 kTileScale(kTileRadius, 40.0f, kTileRadius);

// Axial coordinates of a hexagonal board, ring by ring from the centre, cut
// after kTileCount tiles; laid out edge to edge (corners on the x axis).
std::vector<glm::vec3> HexFloorCentres()
{
    std::vector<glm::ivec2> cells;
    constexpr int kRings = 21;
    for (int q = -kRings; q <= kRings; ++q) {
        for (int r = -kRings; r <= kRings; ++r) {
            if (std::abs(q + r) <= kRings)
                cells.emplace_back(q, r);
        }
    }
    const auto ring = [](const glm::ivec2& c) { return std::max({std::abs(c.x), std::abs(c.y), std::abs(c.x + c.y)}); };
    std::stable_sort(cells.begin(), cells.end(), [&](const glm::ivec2& a, const glm::ivec2& b) { return ring(a) < ring(b); });
    cells.resize(kTileCount);
    std::vector<glm::vec3> centres;
    for (const glm::ivec2& c : cells) {
        const float x = 1.5f * kTileRadius * static_cast<float>(c.x);
        const float z = std::sqrt(3.0f) * kTileRadius * (static_cast<float>(c.y) + 0.5f * static_cast<float>(c.x));
        centres.emplace_back(x, -kTileScale.y, z); // tops at y = 0
    }
    return centres;
}

using FloorDrop = CollisionTest::Fixture;

TEST_F(FloorDrop, SpheresComeToRestOnTheTileTops)
{
    Table().AddTag("Tile");
    Table().AddTag("Ball");
    Table().SetPair("Tile", "Tile", 0);
    for (const glm::vec3& centre : HexFloorCentres()) {
        const EntityHandle tile = Static(ShapeHexPrism, centre, kTileScale);
        Statics().GetCompPtr(tile)->SetCollisionType("Tile");
    }
    ASSERT_EQ(Statics().Count(), static_cast<std::uint64_t>(kTileCount));

    // Over tile middles, seams and corners, some thrown sideways.
    const glm::vec3 drops[] = {
        {0, 3, 0},       {1.25f, 5, 2.165f}, {3.75f, 2, 0},   {2.5f, 4, 0},     {-30, 6, 17},
        {55, 3, -40},    {-62, 2.5f, 25},    {10, 8, -70},    {-20, 4, -20},    {40, 3, 40},
    };
    std::vector<EntityHandle> balls;
    for (std::size_t i = 0; i < std::size(drops); ++i) {
        const float radius = 0.3f + 0.05f * static_cast<float>(i % 4);
        const EntityHandle ball = Body(ShapeSphere, drops[i], glm::vec3(radius));
        CollisionComp& body = BodyOf(ball);
        body.SetCollisionType("Ball");
        body.mGravity.value = glm::vec3(0, -10, 0);
        body.mVelocity.value = glm::vec3(i % 3 == 0 ? 1.5f : 0.0f, 0, i % 2 == 0 ? -1.0f : 0.0f);
        balls.push_back(ball);
    }

    float worstDrift = 0.0f;
    float worstSink = 0.0f;
    for (int frame = 0; frame < 900; ++frame) {
        SetFrame(16);
        Mgr().Update();
        if (frame < 840)
            continue;
        for (const EntityHandle& ball : balls) {
            const float radius = Transform::ScalePtr(ball)->x;
            worstSink = std::max(worstSink, std::fabs(Position(ball).y - radius));
            const glm::vec3 v = BodyOf(ball).mVelocity.value;
            worstDrift = std::max(worstDrift, glm::length(glm::vec2(v.x, v.z)));
        }
    }
    for (const EntityHandle& ball : balls) {
        const glm::vec3 p = Position(ball);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
        // Still above the floor, not pushed off its edge.
        const RayHit under = Statics().RayCast(p, glm::vec3(0, -1, 0));
        EXPECT_FALSE(under.entity.IsNull()) << "ball " << ball.GetIndex() << " at " << p.x << ", " << p.z;
    }
    // Resting: on the tops within a few thousandths, no longer rolling.
    EXPECT_LT(worstSink, 0.01f);
    EXPECT_LT(worstDrift, 0.01f);
}

// The pass keeps the relation and shape test of the kind of collider it met
// last; a sensor that the ball ignores, met first, must not stand in for
// the tile of the same shape met after it.
TEST_F(FloorDrop, ABallMeetingASensorBeforeItsTileStillLandsOnIt)
{
    Table().AddTag("Tile");
    Table().AddTag("Ball");
    Table().AddTag("Sensor");
    Table().SetPair("Ball", "Sensor", 0);
    const EntityHandle tile = Static(ShapeHexPrism, {0, -kTileScale.y, 0}, kTileScale);
    Statics().GetCompPtr(tile)->SetCollisionType("Tile");
    // In the same node, filed last: met first.
    const EntityHandle sensor = Static(ShapeHexPrism, {0, 1.0f - kTileScale.y, 0}, kTileScale);
    Statics().GetCompPtr(sensor)->SetCollisionType("Sensor");
    const EntityHandle ball = Body(ShapeSphere, {0, 2, 0}, glm::vec3(0.5f));
    BodyOf(ball).SetCollisionType("Ball");
    BodyOf(ball).mGravity.value = glm::vec3(0, -10, 0);
    BodyOf(ball).mRestitution.value = 0.0f;
    for (int frame = 0; frame < 120; ++frame) {
        SetFrame(16);
        Mgr().Update();
    }
    EXPECT_NEAR(Position(ball).y, 0.5f, 0.01f);
}

} // namespace
