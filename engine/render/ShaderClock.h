#pragma once
#include <cmath>

namespace Engine {

// The shaders' animation clocks (the renderer's per camera, each drawable's
// per draw) run for as long as the game does. A float counting up for a day
// on the title loses the step it adds: the animations crawl, then freeze.
// They wrap after a thousand whole turns of the sines the shaders animate
// with, where a step still keeps its digits; a scroll or a scan line that
// is not a whole turn there jumps once per wrap, well over an hour apart.
inline constexpr float kShaderClockWrap = 6283.18530718f;

inline float AdvanceShaderClock(float clock, float step)
{
    const float next = clock + step;
    return next >= kShaderClockWrap ? std::fmod(next, kShaderClockWrap) : next;
}

} // namespace Engine
