#include "bench/BenchEngine.h"
#include "engine/frame/Core.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "engine/ui/UserConfig.h"
#include "game/match/GameMode.h"
#include "tests/support/CreepingClock.h"
#include "tests/support/TempFolder.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

// What a player's frame costs to draw on the software renderer (Mesa's
// llvmpipe under Xvfb), next to what any frame costs: a two-player match at
// 1280 x 720 and a bare clear and swap, in one run.
namespace {

// A configuration of our own for a windowed 1280 x 720 match: the scene
// builder reads it at every match start.
void UseBenchConfiguration()
{
    const std::string home = MakeTempFolder("solvane-bench");
    if (!home.empty())
        setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    Engine::Window& window = *Engine::Window::Main();
    window.SetFullscreen(false);
    window.SetResolution({1280, 720});
    UserConfig::Save();
}

// The match as the gameplay mode builds it, its floor risen into place.
// Frames of the build are not drawn.
void StartMatchOnce()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    StartEngineOnce();
    UseBenchConfiguration();
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.overlayCallback = &GameMode::RenderUILayers;
    renderer.SetVSync(false);
    GameScene::PlayerCount = 2;
    GameMode::Current = GameMode::Gameplay;
    GameplayMode::Init();
    CreepingClock clock;
    for (int frame = 0; frame < 250; ++frame) {
        renderer.renderingEnabled = false;
        clock.Advance(16);
        Engine::Core::GetInstance().Update();
        GameplayMode::Update();
    }
    renderer.renderingEnabled = true;
}

void Finish(Engine::Renderer& renderer)
{
    glFinish();
    renderer.SwapBuffers();
}

// Both players' views of the whole arena (lights, shadows, bloom,
// post-processing, HUDs) and the menu overlay, finished and swapped.
void BM_RenderedFrameOfTwoPlayerMatch(benchmark::State& state)
{
    StartMatchOnce();
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    for (auto _ : state) {
        renderer.Render();
        Finish(renderer);
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderedFrameOfTwoPlayerMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The least a frame can cost in the same window.
void BM_ClearAndSwapFrame(benchmark::State& state)
{
    StartMatchOnce();
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    for (auto _ : state) {
        renderer.Clear();
        Finish(renderer);
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ClearAndSwapFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace
