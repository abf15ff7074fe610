#pragma once
// The engine as main starts it, for benchmarks of whole frames. Needs a
// display: run under xvfb-run -a -s "-screen 0 1280x720x24".
#include "engine/core/Profiler.h"
#include "engine/frame/Core.h"
#include "engine/logic/Factory.h"
#include "engine/platform/Clock.h"
#include "engine/render/Window.h"
#include "game/match/RegisterLogicTypes.h"

#include <cstdint>

// The frame limiter's ticks jump a whole paced frame per reading, so it
// never spins and what is measured is the frame's own work; the profiler
// keeps the real clock.
class LeapingClock : public Engine::Platform::IClock {
public:
    explicit LeapingClock(Engine::Platform::IClock& real) : mReal(real) {}
    std::uint64_t Counter() override { return mReal.Counter(); }
    std::uint64_t Frequency() override { return mReal.Frequency(); }
    std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(mMilliseconds += 7); }

private:
    Engine::Platform::IClock& mReal;
    std::uint64_t mMilliseconds = 0;
};

// Started as main starts it, unless another benchmark of this process has
// opened the window already.
inline void StartEngineOnce()
{
    if (Engine::Window::Main())
        return;
    Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);
    Engine::Core::GetInstance().InitWindow();
    Engine::Core::GetInstance().Init();
}

// How long the named phase of the last frame took, in microseconds.
inline double PhaseMicroseconds(const char* name)
{
    const auto& record = Engine::Profiler::GetRecords().at(name);
    return static_cast<double>(record.end - record.start) / 1000.0;
}
