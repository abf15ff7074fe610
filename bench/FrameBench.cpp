#include "bench/BenchEngine.h"
#include "engine/core/EntityManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicComp.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/Renderer.h"

#include <benchmark/benchmark.h>

// Needs a display: run under xvfb-run -a -s "-screen 0 1280x720x24".
namespace {

constexpr int kTiles = 1370;

// A tile that bobs: one logic update and one changed world matrix a frame.
class Bobber : public Engine::LogicComp {
public:
    void Update() override { Engine::Transform::PositionRef(owner).y += 0.001f; }
};

// Each frame a few short-lived entities come and go, as balls and effects do.
class Churn : public Engine::LogicComp {
public:
    void Update() override
    {
        for (int i = 0; i < 8; ++i) {
            Engine::EntityHandle spark;
            spark.Create();
            Engine::TransformCompManager::GetInstance().AddComponent(spark);
            spark.Destroy();
        }
    }
};

void BuildTileScene()
{
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    for (int i = 0; i < kTiles; ++i) {
        Engine::EntityHandle tile;
        tile.Create();
        Engine::TransformCompManager::GetInstance().AddComponent(tile);
        Engine::Transform::PositionRef(tile) = glm::vec3(static_cast<float>(i % 37), 0.0f, static_cast<float>(i / 37));
        logic.AddComponent<Bobber>(tile);
    }
    Engine::EntityHandle churn;
    churn.Create();
    logic.AddComponent<Churn>(churn);
}

// One engine frame with drawing switched off: logic, physics, sound, input
// pump, entity phase and an empty buffer swap.
void BM_EngineFrameWithoutRendering(benchmark::State& state)
{
    StartEngineOnce();
    BuildTileScene();
    Engine::Renderer::GetInstance().renderingEnabled = false;
    LeapingClock clock(Engine::Platform::GetClock());
    Engine::Platform::SetClock(&clock);
    double logic = 0.0;
    double entity = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Engine::Core::GetInstance().Update());
        logic += PhaseMicroseconds("LogicUpdate");
        entity += PhaseMicroseconds("EntityUpdate");
    }
    Engine::Platform::SetClock(nullptr);
    Engine::Renderer::GetInstance().renderingEnabled = true;
    Engine::SceneManager::DestroySceneImmediately();
    const double frames = static_cast<double>(state.iterations());
    state.counters["logic_us"] = logic / frames;
    state.counters["entity_us"] = entity / frames;
}
BENCHMARK(BM_EngineFrameWithoutRendering)->Unit(benchmark::kMicrosecond);

} // namespace
