// A whole local match as the scene builder makes it (1370 tiles, two
// players with their balls and perks, the goal ball in flight), one engine
// frame at a time with drawing switched off, then the gameplay mode's own
// per-frame work (the game state and the recorder).
#include "bench/BenchEngine.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/Renderer.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/ball/GoalBall.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/match/ModeSteps.h"
#include "game/modes/GameMode.h"

#include <benchmark/benchmark.h>

namespace {

// As the gameplay mode's Init builds it, then settled: the tiles risen, the
// players landed, the goal ball released and flying.
void BuildSettledMatch()
{
    GameScene::PlayerCount = 2;
    GameScene::PlayerUsesGamepad[0] = GameScene::PlayerUsesGamepad[1] = false;
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    MatchRecorder::GetInstance().isRecording = 1;
    Engine::SceneManager::SetCreation();
    BuildLocalScene();
    SpawnGoalBall();
    for (int frame = 0; frame < 800; ++frame)
        Engine::Core::GetInstance().Update();
}

void BM_MatchEngineFrameWithoutRendering(benchmark::State& state)
{
    StartEngineOnce();
    Engine::Renderer::GetInstance().renderingEnabled = false;
    LeapingClock clock(Engine::Platform::GetClock());
    Engine::Platform::SetClock(&clock);
    BuildSettledMatch();
    const bool withMode = state.range(0) != 0;
    double logic = 0.0;
    double physics = 0.0;
    double entity = 0.0;
    Engine::CollisionMgr::GetInstance().ResetNarrowTestCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Engine::Core::GetInstance().Update());
        if (withMode) {
            GameState::Update();
            MatchRecorder::GetInstance().Update();
            // The live kill camera hands the camera pass back each frame.
            Engine::Renderer::GetInstance().renderingEnabled = false;
        } else {
            // The recorder's update takes each frame's capture away; without
            // it the trail pieces' records would pile up in `live` frame
            // after frame, and the growing buffer's fresh pages would be
            // timed as the engine's.
            MatchFrame& live = MatchRecorder::GetInstance().live;
            live.trails.clear();
            live.forceFields.clear();
            live.stunAreas.clear();
        }
        logic += PhaseMicroseconds("LogicUpdate");
        physics += PhaseMicroseconds("PhysicsUpdate");
        entity += PhaseMicroseconds("EntityUpdate");
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["logic_us"] = logic / frames;
    state.counters["physics_us"] = physics / frames;
    state.counters["entity_us"] = entity / frames;
    state.counters["narrow_tests"] = static_cast<double>(Engine::CollisionMgr::GetInstance().GetNarrowTestCount()) / frames;
    state.counters["tiles"] = static_cast<double>(HexGrid::GetInstance().tiles.size());
    state.counters["goal_ball"] = GoalBall::Alive() ? 1.0 : 0.0;
    Engine::Platform::SetClock(nullptr);
    Engine::Renderer::GetInstance().renderingEnabled = true;
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
}
// 0: the engine frame alone; 1: with the game state and the recorder.
BENCHMARK(BM_MatchEngineFrameWithoutRendering)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
