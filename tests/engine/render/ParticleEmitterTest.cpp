#include "FrameTestScene.h"
#include "engine/render/ParticleEmitterManager.h"

#include <limits>

namespace {

using Engine::ParticleEmitter;
using Engine::ParticleEmitterRange;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Emitters need the GL context for their buffers, not the renderer's
// resources: these have no model or program to draw with.
struct Emitters : ::testing::Test {
    void SetUp() override { OpenTestWindow(); }

    // Every value drawn from `range` alone, so a particle's values are the
    // range's.
    static ParticleEmitter& Emitter(std::uint32_t capacity, const ParticleEmitterRange& range = {})
    {
        ParticleEmitter& emitter = *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(
            Engine::EntityMgr::GetInstance().CreateEntity());
        emitter.SetMaxParticles(capacity);
        emitter.minimum = emitter.maximum = range;
        return emitter;
    }
};

TEST_F(Emitters, ContinuousEmissionNeverFillsItsLastEmissionCountSlots)
{
    ParticleEmitter& single = Emitter(10);
    ParticleEmitter& triple = Emitter(10);
    triple.emissionCount = 3;
    for (int update = 0; update < 20; ++update) {
        single.Update(0.01f);
        triple.Update(0.01f);
    }
    EXPECT_EQ(single.LiveCount(), 9);
    EXPECT_EQ(triple.LiveCount(), 7);
    single.emissionCount = std::numeric_limits<int>::min(); // like every negative count but -1: none
    single.Update(0.01f);
    EXPECT_EQ(single.LiveCount(), 9);

    ParticleEmitter& all = Emitter(50);
    all.emissionCount = -1;
    all.Update(0.01f);
    EXPECT_EQ(all.LiveCount(), 50);
}

TEST_F(Emitters, BurstsFireOnceTheTimerReachesTheIntervalAndStopAfter200)
{
    ParticleEmitterRange shortLived;
    shortLived.lifetime = 0.1f;
    ParticleEmitter& emitter = Emitter(5, shortLived);
    emitter.burst = true;
    emitter.Update(1.0f); // the timer grows to the interval
    EXPECT_EQ(emitter.LiveCount(), 0);
    emitter.Update(1.0f);
    EXPECT_EQ(emitter.LiveCount(), 5);
    int fired = 1;
    for (int update = 0; update < 1000; ++update) {
        emitter.Update(1.0f);
        const Engine::Particle& first = emitter.GetParticles()[0];
        fired += first.alive && first.age == 0.0f; // born in this update
    }
    EXPECT_EQ(fired, 200);

    // "Emit N": a capacity of N and one burst whose timer already reached
    // its interval fill every slot at the next update.
    emitter.SetMaxParticles(200);
    emitter.burstsLeft = 1;
    emitter.burstTimer = emitter.burstInterval;
    emitter.Update(0.01f);
    EXPECT_EQ(emitter.LiveCount(), 200);
}

TEST_F(Emitters, ParticlesDieAtTheirLifetimeAtOnceWithoutOneOrWhenTheirPositionIsNaN)
{
    ParticleEmitterRange halfSecond;
    halfSecond.lifetime = 0.5f;
    ParticleEmitterRange timeless;
    timeless.lifetime = 0.0f;
    ParticleEmitter& aging = Emitter(2, halfSecond); // one particle at a time
    ParticleEmitter& instant = Emitter(2, timeless);
    ParticleEmitter& lost = Emitter(2);
    lost.pointA = glm::vec3(kNaN);
    for (ParticleEmitter* emitter : {&aging, &instant, &lost}) {
        emitter->Update(0.125f); // spawned with age 0
        ASSERT_EQ(emitter->LiveCount(), 1);
        emitter->emissionCount = 0;
    }
    for (int update = 0; update < 4; ++update)
        aging.Update(0.125f);
    EXPECT_EQ(aging.LiveCount(), 1);
    EXPECT_FLOAT_EQ(aging.GetParticles()[0].age, 0.5f);
    for (ParticleEmitter* emitter : {&aging, &instant, &lost}) {
        emitter->Update(0.125f);
        EXPECT_EQ(emitter->LiveCount(), 0);
    }
}

TEST_F(Emitters, MovementFollowsTheFlagAndSpinIgnoresTheFrameTime)
{
    ParticleEmitterRange range;
    range.startVelocity = range.endVelocity = {2.0f, 0.0f, 0.0f};
    range.startSpinRate = range.endSpinRate = 2.0f;
    range.lifetime = 100.0f;
    ParticleEmitter& moving = Emitter(2, range);
    ParticleEmitter& still = Emitter(2, range);
    still.moveParticles = false;
    moving.pointA = still.pointA = {1.0f, 2.0f, 3.0f};
    for (float dt : {0.0f, 0.5f, 0.01f, 0.25f}) {
        moving.Update(dt);
        still.Update(dt);
    }
    // Spawned at the first update, moved by the next three.
    EXPECT_FLOAT_EQ(moving.GetParticles()[0].position.x, 1.0f + 2.0f * 0.76f);
    EXPECT_EQ(still.GetParticles()[0].position, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_FLOAT_EQ(moving.GetParticles()[0].spin, 6.0f);
}

TEST_F(Emitters, ShapesPlaceTheSpawnedParticles)
{
    ParticleEmitter& sphere = Emitter(200);
    ParticleEmitter& segment = Emitter(50);
    sphere.emissionCount = segment.emissionCount = -1;
    sphere.shape = Engine::kParticleSphere;
    sphere.pointA = {10.0f, 0.0f, 0.0f};
    sphere.radii = {1.0f, 2.0f, 3.0f};
    segment.shape = Engine::kParticleSegment;
    segment.pointA = {0.0f, 1.0f, 0.0f};
    segment.pointB = {4.0f, 1.0f, 0.0f};
    sphere.Update(0.0f);
    segment.Update(0.0f);
    for (const Engine::Particle& p : sphere.GetParticles()) {
        const glm::vec3 d = (p.position - sphere.pointA) / sphere.radii;
        EXPECT_LE(glm::dot(d, d), 1.0001f);
    }
    for (const Engine::Particle& p : segment.GetParticles()) {
        EXPECT_FLOAT_EQ(p.position.y, 1.0f);
        EXPECT_GE(p.position.x, 0.0f);
        EXPECT_LE(p.position.x, 4.0f);
    }

    const Engine::EntityHandle owner = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(owner);
    Engine::Transform::PositionRef(owner) = {-5.0f, 6.0f, 7.0f};
    ParticleEmitter& follower = Emitter(2);
    follower.followOwner = true;
    follower.owner = owner;
    follower.Update(0.0f);
    EXPECT_EQ(follower.GetParticles()[0].position, glm::vec3(-5.0f, 6.0f, 7.0f));
}

TEST_F(Emitters, PreparingSortsTheFarthestLiveParticleFirst)
{
    ParticleEmitter& emitter = Emitter(5);
    emitter.emissionCount = -1;
    emitter.Update(0.0f);
    auto& particles = emitter.GetParticles();
    particles[1].alive = false;
    const float depths[] = {5.0f, 0.0f, -5.0f, 2.0f, -1.0f};
    for (std::size_t i = 0; i < 5; ++i)
        particles[i].position = {0.0f, 0.0f, depths[i]};
    particles[0].colour = {1.0f, 0.0f, 0.0f, 1.0f};
    particles[2].colour = {0.0f, 0.0f, 1.0f, 1.0f};

    Engine::Camera camera; // at (0, 0, 10) looking at the origin
    emitter.PrepareInstances(camera);
    const float expected[] = {-5.0f, -1.0f, 2.0f, 5.0f};
    for (std::size_t slot = 0; slot < 4; ++slot) {
        EXPECT_TRUE(particles[slot].alive) << slot;
        EXPECT_FLOAT_EQ(particles[slot].position.z, expected[slot]) << slot;
    }
    EXPECT_FALSE(particles[4].alive);
    // Matrices and colours moved with their particles; a dead slot is clear.
    EXPECT_EQ(emitter.GetInstanceColours()[0], glm::vec4(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(emitter.GetInstanceColours()[3], glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(emitter.GetInstanceColours()[4], glm::vec4(0.0f));
    EXPECT_EQ(emitter.GetInstanceMatrices()[0], Engine::ParticleInstanceMatrix(particles[0], camera.GetViewMatrix()));

    // An eye on its own target or particles at NaN leave no order to follow
    // but must not break the sort.
    particles[0].position = glm::vec3(kNaN);
    camera.SetTarget(camera.mPos.value);
    emitter.PrepareInstances(camera);
    int live = 0;
    for (const Engine::Particle& p : particles)
        live += p.alive;
    EXPECT_EQ(live, 4);
    EXPECT_TRUE(particles[0].alive && particles[3].alive && !particles[4].alive);
}

TEST_F(Emitters, ANewCapacityFreesTheOldBuffers)
{
    ParticleEmitter& emitter = Emitter(10);
    const GLuint oldMatrices = emitter.MatrixBuffer().Name();
    ASSERT_TRUE(glIsBuffer(oldMatrices));
    EXPECT_EQ(emitter.ColourBuffer().Bytes(), 10u * 16u);
    emitter.emissionCount = -1;
    emitter.Update(0.1f);
    emitter.SetMaxParticles(4);
    EXPECT_FALSE(glIsBuffer(oldMatrices));
    EXPECT_EQ(emitter.MatrixBuffer().Bytes(), 4u * 64u);
    EXPECT_EQ(emitter.LiveCount(), 0);
    emitter.SetMaxParticles(0);
    EXPECT_FALSE(emitter.MatrixBuffer().Exists());
    emitter.Update(0.1f);
    EXPECT_EQ(emitter.LiveCount(), 0);
}

// Two emitters on the shared quad, each drawn in its own colour.
TEST_F(FrameTestScene, TwoEmittersEachShowTheirOwnColour)
{
    const Engine::Camera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    const glm::vec4 colours[] = {{1.0f, 0.1f, 0.1f, 1.0f}, {0.1f, 0.2f, 1.0f, 1.0f}};
    const glm::vec3 places[] = {{-3.0f, 0.0f, 0.0f}, {3.0f, 0.0f, 0.0f}};
    for (int i = 0; i < 2; ++i) {
        ParticleEmitter& emitter = *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(
            Engine::EntityMgr::GetInstance().CreateEntity());
        emitter.programName = "Particle";
        emitter.modelName = "Quad";
        emitter.textureName = "White";
        emitter.LoadResources();
        emitter.SetMaxParticles(8);
        emitter.emissionCount = -1;
        emitter.shaderSwitch = 0; // flat squares
        ParticleEmitterRange range;
        range.startVelocity = range.endVelocity = glm::vec3(0.0f);
        range.startColour = range.endColour = colours[i];
        range.scale = glm::vec3(0.6f);
        range.lifetime = 100.0f;
        emitter.minimum = emitter.maximum = range;
        emitter.pointA = places[i];
    }
    renderer.Render(); // spawns, then draws
    for (int i = 0; i < 2; ++i) {
        const glm::ivec2 at = WindowPixel(camera, places[i]);
        const std::array<int, 3> pixel = PixelAt(at.x, at.y);
        EXPECT_GT(pixel[i == 0 ? 0 : 2], 180) << i;
        EXPECT_LT(pixel[i == 0 ? 2 : 0], 120) << i;
    }
    EXPECT_LT(Brightness(PixelAt(640, 360)), 30);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// Nothing named: the emitter draws with what it takes by default, and each
// particle still shows where it is.
TEST_F(FrameTestScene, AnEmitterOnItsDefaultsDrawsEachParticleWhereItIs)
{
    const Engine::Camera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    const glm::vec3 places[] = {{-3.0f, 1.5f, 0.0f}, {2.5f, -1.0f, 0.0f}};
    for (const glm::vec3& place : places) {
        ParticleEmitter& emitter = *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(
            Engine::EntityMgr::GetInstance().CreateEntity());
        emitter.SetMaxParticles(2);
        ParticleEmitterRange range;
        range.startVelocity = range.endVelocity = glm::vec3(0.0f);
        range.startColour = range.endColour = glm::vec4(1.0f);
        range.lifetime = 100.0f;
        emitter.minimum = emitter.maximum = range;
        emitter.pointA = place;
    }
    renderer.Render();
    for (const glm::vec3& place : places) {
        const glm::ivec2 at = WindowPixel(camera, place);
        EXPECT_GT(Brightness(PixelAt(at.x, at.y)), 300) << at.x << ", " << at.y;
    }
    EXPECT_LT(Brightness(PixelAt(640, 360)), 30) << "a particle was drawn at the origin";
    EXPECT_TRUE(SaveScreenshot("particles_on_defaults"));
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
