#pragma once
#include <cstdint>

// The game-mode loop's request flags that gameplay components raise. A
// component never leaves the match itself: it raises a flag, and the mode
// in charge reads it once per frame and clears it.
struct GameMode {
    // End of play: the gameplay mode starts the replay.
    static inline std::uint8_t EndRequested = 0;
    // Raised by the second level loader; no mode reads it.
    static inline std::uint8_t LevelLoader2Triggered = 0;
};
