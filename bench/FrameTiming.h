#pragma once
// Timing of drawn frames on the software GL of a machine without a graphics
// card (Mesa's llvmpipe under Xvfb). Every frame benchmark reports, beside
// its wall time:
//   cpu_frame      processor time of the whole process per frame, over every
//                  thread (llvmpipe rasterises on threads of its own); far
//                  less swayed than the wall clock by other work on the
//                  machine;
//   ms_clear_swap  a bare clear-and-swap frame measured in the same run;
//   x_clear        the frame's wall time as a multiple of that one.
#include "engine/render/Renderer.h"

#include <GL/glew.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <vector>

namespace FrameTiming {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

// The least a frame can cost: what every other figure is a multiple of.
inline void ClearAndSwap()
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.Clear();
    glFinish();
    renderer.SwapBuffers();
}

inline void RenderAndSwap()
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.Render();
    glFinish();
    renderer.SwapBuffers();
}

// Median over batches of the mean wall time of `frame`, in milliseconds.
template <class Frame>
double MedianFrameMs(Frame frame, int batches, int framesPerBatch)
{
    std::vector<double> means;
    for (int b = 0; b < batches; ++b) {
        const Clock::time_point start = Clock::now();
        for (int f = 0; f < framesPerBatch; ++f)
            frame();
        means.push_back(MillisecondsSince(start) / framesPerBatch);
    }
    std::nth_element(means.begin(), means.begin() + batches / 2, means.end());
    return means[static_cast<std::size_t>(batches / 2)];
}

// One `frame` per iteration of `state`, reported with "cpu_frame"; returns
// the mean wall time of a frame in milliseconds.
template <class Frame>
double TimeEachFrame(benchmark::State& state, Frame frame)
{
    double totalMs = 0.0;
    const double cpuStart = ProcessCpuMs();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        frame();
        totalMs += MillisecondsSince(start);
    }
    const double frames = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["cpu_frame"] = (ProcessCpuMs() - cpuStart) / frames;
    return totalMs / frames;
}

// Times `frame` after a few untimed ones, and reports it beside the bare
// clear-and-swap frame of the same run.
template <class Frame>
void TimeDrawnFrames(benchmark::State& state, Frame frame)
{
    const double clearMs = MedianFrameMs(ClearAndSwap, 7, 40);
    for (int f = 0; f < 5; ++f)
        frame();
    const double frameMs = TimeEachFrame(state, frame);
    state.counters["ms_clear_swap"] = clearMs;
    state.counters["x_clear"] = frameMs / clearMs;
}

} // namespace FrameTiming
