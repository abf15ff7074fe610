#include "bench/BenchMatch.h"
#include "bench/FrameTiming.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>

// What a player's frame costs to draw on the software renderer (Mesa's
// llvmpipe under Xvfb), next to what any frame costs: a two-player match at
// 1280 x 720 and a bare clear and swap, in one run (see FrameTiming.h for
// the figures).
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

void ReportFramesPerSecond(benchmark::State& state)
{
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Both players' views of the whole arena (lights, shadows, bloom,
// post-processing, HUDs) and the menu overlay, finished and swapped.
void BM_RenderedFrameOfTwoPlayerMatch(benchmark::State& state)
{
    StartMatchOnce();
    FrameTiming::TimeDrawnFrames(state, FrameTiming::RenderAndSwap);
    ReportFramesPerSecond(state);
}
BENCHMARK(BM_RenderedFrameOfTwoPlayerMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The least a frame can cost in the same window.
void BM_ClearAndSwapFrame(benchmark::State& state)
{
    StartMatchOnce();
    FrameTiming::TimeEachFrame(state, FrameTiming::ClearAndSwap);
    ReportFramesPerSecond(state);
}
BENCHMARK(BM_ClearAndSwapFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace
