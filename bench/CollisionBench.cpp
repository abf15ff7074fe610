#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "tests/support/CreepingClock.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <vector>

// The physics step over the arena box: 1370 hexagonal tiles of scale
// (2.5, 40, 2.5) on its six sides, with balls bouncing on the floor.
namespace {

using namespace Engine;

constexpr float kTileSize = 2.5f;
const glm::vec3 kTileScale(kTileSize, 40.0f, kTileSize);

struct Side {
    glm::vec3 centre;
    glm::vec3 up;
    glm::vec3 forward;
    glm::vec3 rowAxis;
    glm::vec3 columnAxis;
    int rows;
    int columns;
};

// The default arena: 4 x 181 + 2 x 323 = 1370 tiles.
const Side kSides[] = {
    {{-75, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 0}, 10, 19},
    {{0, -59, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}, {0, 0, 1}, 10, 34},
    {{0, 0, -75}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {0, 1, 0}, 10, 19},
    {{75, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0, 1, 0}, 10, 19},
    {{0, 59, 0}, {0, -1, 0}, {0, 0, -1}, {1, 0, 0}, {0, 0, 1}, 10, 34},
    {{0, 0, 75}, {0, 0, -1}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}, 10, 19},
};
constexpr float kBoxFloorTop = -59.0f + 40.0f;

// Frames of a fixed 7 ms, about 1/144 s.
CreepingClock& CollisionClock()
{
    static CreepingClock clock;
    return clock;
}

void NextFrame()
{
    CollisionClock().Advance(7);
    FrameRateController::EndFrame();
}

void ClearScene()
{
    CollisionMgr::GetInstance().Clear();
    SpatialCollisionMgr::GetInstance().Clear();
    TransformCompManager::GetInstance().Clear();
    EntityMgr::GetInstance().Reset();
}

EntityHandle NewPlaced(const glm::vec3& position, const glm::vec3& scale)
{
    const EntityHandle entity = EntityMgr::GetInstance().CreateEntity();
    TransformCompManager::GetInstance().AddComponent(entity);
    Transform::PositionRef(entity) = position;
    Transform::ScaleRef(entity) = scale;
    return entity;
}

void BuildSide(const Side& side)
{
    const float inner = std::sqrt(kTileSize * kTileSize - kTileSize * kTileSize / 4.0f);
    const glm::vec3 u = side.columnAxis * inner;
    const glm::vec3 v = side.rowAxis * kTileSize;
    const float columns = static_cast<float>(side.columns);
    const float rows = static_cast<float>(side.rows);
    const glm::vec3 start = side.centre - u * (columns + 1.0f) / 2.0f - (v + (rows - 1.0f) * v * 1.5f);
    for (int j = 0; j < side.columns; ++j) {
        for (int i = 0; i < side.rows; ++i) {
            if (j % 2 == 1 && i == side.rows - 1)
                continue;
            const glm::vec3 position = start + v * (1.0f + 3.0f * static_cast<float>(i)) + (j % 2 ? v * 1.5f : glm::vec3(0))
                + u * (static_cast<float>(j) + 1.0f);
            const EntityHandle tile = NewPlaced(position, kTileScale);
            Transform::UpRef(tile) = side.up;
            Transform::ForwardRef(tile) = side.forward;
            SpatialCollider& collider = *SpatialCollisionMgr::GetInstance().GetCompPtr(tile);
            collider.shape.value = ShapeHexPrism;
            collider.SetCollisionType("Tile");
            SpatialCollisionMgr::GetInstance().UpdateCollider(tile);
        }
    }
}

void BuildArena(int ballCount)
{
    CollisionClock();
    FrameRateController::SetTimeScale(1.0);
    ClearScene();
    CollisionTable& table = CollisionTable::GetInstance();
    table.AddTag("Default");
    table.AddTag("Tile");
    table.AddTag("Ball");
    table.SetPair("Tile", "Tile", 0);
    for (const Side& side : kSides)
        BuildSide(side);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> across(-30.0f, 30.0f);
    for (int i = 0; i < ballCount; ++i) {
        const EntityHandle ball = NewPlaced(glm::vec3(across(random), kBoxFloorTop + 2.0f + static_cast<float>(i % 5), across(random)),
                                            glm::vec3(0.3f));
        CollisionComp& body = *CollisionMgr::GetInstance().GetCompPtr(ball);
        body.mCollisionShape.value = ShapeSphere;
        body.SetCollisionType("Ball");
        body.mGravity.value = glm::vec3(0, -10, 0);
        body.mVelocity.value = glm::vec3(across(random) * 0.2f, 0, across(random) * 0.2f);
    }
    NextFrame();
}

// The pass of CollisionMgr::Update with the octree walk replaced by a test
// of every static collider.
void StepAgainstEveryCollider()
{
    CollisionMgr& bodies = CollisionMgr::GetInstance();
    std::vector<EntityHandle> order;
    for (const auto& [entity, body] : bodies.GetBodies())
        order.push_back(entity);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const EntityHandle a = order[i];
        CollisionComp& bodyA = *bodies.FindComp(a);
        bodyA.Integrate(a);
        for (std::size_t k = i + 1; k < order.size(); ++k) {
            const CollisionComp& bodyB = *bodies.FindComp(order[k]);
            bodies.CollidePair(a, order[k], MakeTransform3D(a), MakeTransform3D(order[k]), bodyA.mCollisionShape.value,
                               bodyB.mCollisionShape.value, bodyA.collision_type.value, bodyB.collision_type.value,
                               bodyA.mGhost.value || bodyB.mGhost.value, true);
        }
        for (const auto& [entity, collider] : SpatialCollisionMgr::GetInstance().GetColliders()) {
            bodies.CollidePair(a, entity, MakeTransform3D(a), MakeTransform3D(entity), bodyA.mCollisionShape.value,
                               collider.shape.value, bodyA.collision_type.value, collider.collision_type.value,
                               bodyA.mGhost.value, false);
        }
    }
}

void ReportStep(benchmark::State& state)
{
    const SpatialCollisionMgr& statics = SpatialCollisionMgr::GetInstance();
    state.counters["narrow_tests_per_step"] =
        static_cast<double>(CollisionMgr::GetInstance().GetNarrowTestCount()) / static_cast<double>(state.iterations());
    state.counters["root_colliders"] = static_cast<double>(statics.CollidersIn(Octree::kRootCode));
    state.counters["static_colliders"] = static_cast<double>(statics.Count());
    state.counters["octree_nodes"] = static_cast<double>(statics.NodeCount());
}

void BM_PhysicsStepOctree(benchmark::State& state)
{
    BuildArena(static_cast<int>(state.range(0)));
    CollisionMgr::GetInstance().ResetNarrowTestCount();
    for (auto _ : state) {
        CollisionMgr::GetInstance().Update();
        NextFrame();
    }
    ReportStep(state);
}
BENCHMARK(BM_PhysicsStepOctree)->Arg(10)->Arg(20)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_PhysicsStepEveryCollider(benchmark::State& state)
{
    BuildArena(static_cast<int>(state.range(0)));
    CollisionMgr::GetInstance().ResetNarrowTestCount();
    for (auto _ : state) {
        StepAgainstEveryCollider();
        NextFrame();
    }
    ReportStep(state);
}
BENCHMARK(BM_PhysicsStepEveryCollider)->Arg(10)->Arg(20)->Arg(50)->Unit(benchmark::kMicrosecond);

// One downward ray per iteration, from 10,000 points over the floor.
void BM_RayCastDown(benchmark::State& state)
{
    BuildArena(0);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> across(-70.0f, 70.0f);
    std::vector<glm::vec3> origins;
    for (int i = 0; i < 10000; ++i)
        origins.emplace_back(across(random), 0.0f, across(random));
    const SpatialCollisionMgr& statics = SpatialCollisionMgr::GetInstance();
    std::size_t next = 0;
    std::size_t hits = 0;
    for (auto _ : state) {
        const RayHit hit = statics.RayCast(origins[next], glm::vec3(0, -1, 0));
        hits += hit.distance >= 0.0f;
        benchmark::DoNotOptimize(hit);
        next = (next + 1) % origins.size();
    }
    state.counters["hit_fraction"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RayCastDown)->Iterations(10000)->Unit(benchmark::kMicrosecond);

} // namespace
