#pragma once
#include <cstdint>

namespace Engine::UI {

// The steps of a held key that changes a value: one at the press, one after
// a pause, then one per interval. Counted in seconds held, so a tap steps
// once and a hold steps as often at every frame rate.
class HeldRepeat {
public:
    HeldRepeat(float firstDelay, float interval) : mFirstDelay(firstDelay), mInterval(interval) {}

    // The steps due this frame while `held` (0: nothing held) has been held;
    // a change of what is held counts as a new press. `seconds` is the time
    // since the previous frame.
    int Steps(std::uint8_t held, float seconds);

private:
    int StepsWithin(float heldFor) const;

    float mFirstDelay;
    float mInterval;
    std::uint8_t mHeld = 0;
    float mHeldFor = 0.0f;
    int mStepped = 0;
};

} // namespace Engine::UI
