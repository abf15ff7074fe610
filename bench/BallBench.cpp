// One frame of ball logic over the full arena: two balls and the goal ball
// in flight, bouncing between the floor, the arena box and each other, with
// their trails, their contacts and the colour splashes these leave, and the
// physics step that finds the contacts. No display is needed.
#include "bench/BenchArena.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/SMComponent.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TempBallComp.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr float kArenaFloorTop = -19.0f;

void InitializeAll(Engine::EntityHandle entity)
{
    for (Engine::LogicComp* component : *Engine::LogicManager::GetInstance().FindComponents(entity))
        component->Initialize();
}

// A player that owns a ball; it stands still beside the floor (its own
// logic is another benchmark's).
Engine::EntityHandle Owner(const glm::vec3& at)
{
    const Engine::EntityHandle player = SpawnBenchPlayer(at);
    Engine::CollisionMgr::GetInstance().FindComp(player)->mInvMass.value = 0.0f;
    return player;
}

// A ball as the spawner builds it (without sounds or sparks), already flying.
Engine::EntityHandle FlyingBall(Engine::EntityHandle owner, const glm::vec3& at, const glm::vec3& velocity)
{
    Engine::SceneManager::SetIdle();
    const Engine::EntityHandle ball = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(ball);
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(ball);
    body.mCollisionShape.value = Engine::ShapeSphere;
    Engine::CollisionTable::GetInstance().AddTag("Ball");
    body.SetCollisionType("Ball");
    Engine::Transform::ScaleRef(ball) = glm::vec3(0.3f);
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<Engine::SMComponent>(ball);
    logic.AddComponent<TempBallComp>(ball);
    Engine::LogicManager::GetCompPtr<TempBallComp>(ball)->mPlayer = owner;
    InitializeAll(ball);
    Engine::SceneManager::SetActive();
    // In the hand at the first update, out of it at the second; then it
    // flies the given way.
    auto update = [&] {
        for (Engine::LogicComp* each : *logic.FindComponents(ball))
            each->Update();
    };
    update();
    Engine::LogicManager::GetCompPtr<TempBallComp>(ball)->FlightMachine()->ChangeState("BallBouncing");
    update();
    body.mGhost.value = false;
    body.mGravity.value = glm::vec3(0.0f);
    body.mDrag.value = 1.0f;
    body.mVelocity.value = velocity;
    Engine::Transform::SetWorldPosition(ball, at);
    return ball;
}

Engine::EntityHandle FlyingGoalBall()
{
    SpawnGoalBall(false);
    const Engine::EntityHandle goal = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("GoalBall").front();
    GoalBall& component = *Engine::LogicManager::GetCompPtr<GoalBall>(goal);
    component.mActive = 1;
    Engine::CollisionMgr::GetInstance().FindComp(goal)->mVelocity.value = glm::vec3(18.0f, -9.0f, 15.0f);
    Engine::Transform::SetWorldPosition(goal, glm::vec3(0.0f, kArenaFloorTop + 8.0f, 0.0f));
    return goal;
}

// The balls, their trail pieces, the goal ball and the live splashes.
std::vector<Engine::EntityHandle> BallEntities(const std::vector<Engine::EntityHandle>& balls, Engine::EntityHandle goal)
{
    std::vector<Engine::EntityHandle> entities;
    for (Engine::EntityHandle ball : balls) {
        entities.push_back(ball);
        const TempBallComp& component = *Engine::LogicManager::GetCompPtr<TempBallComp>(ball);
        entities.insert(entities.end(), component.mTrail.begin(), component.mTrail.end());
    }
    entities.push_back(goal);
    for (Engine::EntityHandle splash : Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Colour_Collider"))
        entities.push_back(splash);
    return entities;
}

void BM_BallsLogicFrame(benchmark::State& state)
{
    CreepingClock clock;
    BuildRestingArena(clock);
    MatchRecorder::GetInstance().Reset();
    const Engine::EntityHandle one = Owner({-30.0f, kArenaFloorTop + 4.0f, 30.0f});
    const Engine::EntityHandle two = Owner({30.0f, kArenaFloorTop + 4.0f, -30.0f});
    const std::vector<Engine::EntityHandle> balls = {
        FlyingBall(one, {-10.0f, kArenaFloorTop + 6.0f, 3.0f}, {37.0f, -21.0f, 23.0f}),
        FlyingBall(two, {10.0f, kArenaFloorTop + 9.0f, -3.0f}, {-29.0f, -26.0f, -31.0f})};
    const Engine::EntityHandle goal = FlyingGoalBall();
    std::uint64_t contacts = 0;
    auto frame = [&] {
        clock.Advance(7);
        Engine::FrameRateController::EndFrame();
        for (Engine::EntityHandle entity : BallEntities(balls, goal))
            for (Engine::LogicComp* component : *Engine::LogicManager::GetInstance().FindComponents(entity))
                component->Update();
        Engine::CollisionMgr::GetInstance().Update();
        Engine::EntityMgr::GetInstance().Flush();
        Engine::TransformCompManager::GetInstance().Update();
        // The recorder starts a fresh frame each frame; only the trails grow.
        MatchRecorder::GetInstance().live.trails.clear();
    };
    for (int i = 0; i < 200; ++i)
        frame();
    for (auto _ : state)
        frame();
    for (Engine::EntityHandle ball : balls) {
        contacts += Engine::LogicManager::GetCompPtr<TempBallComp>(ball)->mContacts;
    }
    state.counters["contacts"] = static_cast<double>(contacts);
    state.counters["splashes"] =
        static_cast<double>(Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Colour_Collider").size());
}
BENCHMARK(BM_BallsLogicFrame)->Unit(benchmark::kMicrosecond);

} // namespace
