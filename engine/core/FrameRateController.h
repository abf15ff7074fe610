#pragma once
#include <cstdint>

namespace Engine {

// Paces the engine to at most 144 frames a second and measures each frame.
// One state for the whole run; gameplay reads the frame time, or the frame
// time times the time scale that the end-of-match slow motion lowers.
class FrameRateController {
public:
    FrameRateController() = delete;

    // Busy-waits until 1/144 s has passed since the previous frame end on the
    // millisecond tick count, then stores the frame time, clamped to the cap.
    static void EndFrame();

    // Duration of the last frame in seconds, after the cap.
    static double GetDt();
    // Duration of the last frame in seconds as the clock measured it: for
    // what keeps pace with the player's own time, however slow the frames.
    static double GetUncappedDt();
    // GetDt() times the time scale.
    static double GetScaledDt();
    static double GetTimeScale();
    static void SetTimeScale(double scale);
    // Cap of the frame time in seconds; 0 means no cap.
    static void SetMaxDt(double maxDt);
    // Forgets every frame measured: no frame time yet, time scale 1, the
    // next frame measured from tick 0, as at start-up. The cap stays.
    static void Reset();
};

} // namespace Engine
