#pragma once
#include <cstdint>

// The game modes' flow flags. Gameplay components never leave the match
// themselves: they raise one of these, which the mode in charge reads once
// per frame and clears. The modes and their loop: game/modes/GameMode.h,
// whose ResetFlow lowers each of these.
namespace GameMode {

// End of play: the gameplay mode starts the replay.
inline std::uint8_t EndRequested = 0;
// Back to the title: raised when the replay has played out.
inline std::uint8_t ReturnRequested = 0;
// The "PauseMenu" layer is on the layer stack.
inline std::uint8_t PauseMenuOpen = 0;
// Local pause: the pause menu is open and there is no connection.
inline std::uint8_t Paused = 0;
// Raised by the second level loader; no mode reads it.
inline std::uint8_t LevelLoader2Triggered = 0;

} // namespace GameMode
