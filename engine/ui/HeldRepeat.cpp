#include "engine/ui/HeldRepeat.h"

#include <algorithm>

namespace Engine::UI {

namespace {

// Keeps the count in range however long a key is held.
constexpr float kMostSteps = 1.0e6f;

} // namespace

int HeldRepeat::Steps(std::uint8_t held, float seconds)
{
    if (held != mHeld) {
        mHeld = held;
        mHeldFor = 0.0f;
        mStepped = 0;
    } else if (held != 0 && seconds > 0.0f) {
        // The time since the frame that saw the key down. The frame that
        // first sees it brings the time before the press, which is not held.
        mHeldFor += seconds;
    }
    if (held == 0)
        return 0;
    // From the whole time held, not frame by frame: a long frame brings the
    // steps it spans, and no rounding gathers over short ones.
    const int due = StepsWithin(mHeldFor);
    const int steps = due - mStepped;
    mStepped = due;
    return steps;
}

int HeldRepeat::StepsWithin(float heldFor) const
{
    if (heldFor < mFirstDelay || mInterval <= 0.0f)
        return 1;
    return 2 + static_cast<int>(std::min((heldFor - mFirstDelay) / mInterval, kMostSteps));
}

} // namespace Engine::UI
