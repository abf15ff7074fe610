#include "bench/BenchMatch.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>

// What a player's frame costs to draw on the software renderer (Mesa's
// llvmpipe under Xvfb), next to what any frame costs: a two-player match at
// 1280 x 720 and a bare clear and swap, in one run.
namespace {

// The match, built once, its floor risen into place.
void StartMatchOnce()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    StartTwoPlayerMatch();
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
