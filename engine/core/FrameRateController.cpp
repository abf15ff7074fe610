#include "engine/core/FrameRateController.h"

#include "engine/platform/Clock.h"

namespace Engine {
namespace {

constexpr double kMinFrameSeconds = 1.0 / 144.0;

struct FrameState {
    std::uint32_t lastTicks = 0;
    double dt = 0.0;
    double uncappedDt = 0.0;
    double maxDt = 0.0;
    double timeScale = 1.0;
};

// Constant-initialised: valid before any constructor runs.
constinit FrameState gFrame{};

// Unsigned 32-bit difference, so the wrap of the tick count after ~49.7 days
// still yields the true elapsed time.
double SecondsSince(std::uint32_t lastTicks, std::uint32_t ticks)
{
    return static_cast<std::uint32_t>(ticks - lastTicks) / 1000.0;
}

std::uint32_t Ticks() { return Platform::GetClock().Milliseconds(); }

} // namespace

void FrameRateController::EndFrame()
{
    while (SecondsSince(gFrame.lastTicks, Ticks()) < kMinFrameSeconds) {
        // Busy wait: millisecond sleeps would overshoot the 7 ms frame.
    }
    const std::uint32_t now = Ticks();
    gFrame.uncappedDt = SecondsSince(gFrame.lastTicks, now);
    gFrame.dt = gFrame.uncappedDt;
    gFrame.lastTicks = now;
    if (gFrame.maxDt != 0.0 && gFrame.dt > gFrame.maxDt)
        gFrame.dt = gFrame.maxDt;
}

double FrameRateController::GetDt() { return gFrame.dt; }

double FrameRateController::GetUncappedDt() { return gFrame.uncappedDt; }

double FrameRateController::GetScaledDt() { return gFrame.timeScale * gFrame.dt; }

double FrameRateController::GetTimeScale() { return gFrame.timeScale; }

void FrameRateController::SetTimeScale(double scale) { gFrame.timeScale = scale; }

void FrameRateController::SetMaxDt(double maxDt) { gFrame.maxDt = maxDt; }

void FrameRateController::Reset()
{
    const double maxDt = gFrame.maxDt;
    gFrame = FrameState{};
    gFrame.maxDt = maxDt;
}

} // namespace Engine
