#pragma once
#include "game/config/InputBindings.h"

#include <array>
#include <cstdint>
#include <vector>

// The slots that walk and run a player, listed once: the movement code reads
// them from here, and a walk or a run held through the pause menu's close
// goes on, where every other action waits for its key to be let go.
namespace MovementSlots {

using Slot = InputBindings::Slot;

// A walk key and the way it moves the player (x right, y forward). A
// controller walks with its left stick.
struct Walk {
    Slot slot;
    float right;
    float forward;
};
inline constexpr std::array<Walk, 4> kWalks{{
    {Slot::Left, -1.0f, 0.0f},
    {Slot::Right, 1.0f, 0.0f},
    {Slot::Back, 0.0f, -1.0f},
    {Slot::Forward, 0.0f, 1.0f},
}};

// Run: the key and the controller's button.
inline constexpr Slot kRunKey = Slot::Run;
inline constexpr Slot kRunButton = Slot::ControllerRun;

// Of both players' bindings: the walk and run keys' scancodes, and the
// controller buttons that run.
std::vector<std::int32_t> Keys();
std::vector<std::uint8_t> PadButtons();

} // namespace MovementSlots
