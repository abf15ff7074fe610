#include "game/config/InputBindings.h"

namespace {

using Kind = InputBindings::Kind;
constexpr auto kKey = Kind::Keyboard;
constexpr auto kMouse = Kind::Mouse;
constexpr auto kPad = Kind::Controller;
constexpr std::int32_t kF19 = InputBindings::kUnboundKey;
constexpr std::int32_t kNone = InputBindings::kNoButton;

// In slot order. Scancodes: A 4, D 7, E 8, Q 20, R 21, S 22, W 26, Space 44,
// Left Ctrl 224, Left Shift 225. Mouse: 0 left, 1 right, 2 middle. Pad: 0 A,
// 1 B, 2 X, 3 Y, 7 left stick, 9 and 10 the shoulders.
constexpr InputBindings::SlotInfo kSlots[InputBindings::SlotCount] = {
    {nullptr, kKey, kF19},                         // ModeMenu
    {"Active", kKey, 224},                         // Active
    {"Run", kKey, 225},                            // Run
    {"Left", kKey, 4},                             // Left
    {"Right", kKey, 7},                            // Right
    {"Back", kKey, 22},                            // Back
    {"Forward", kKey, 26},                         // Forward
    {"Jump", kKey, 44},                            // Jump
    {nullptr, kKey, kF19},                         // BendMode0
    {nullptr, kKey, kF19},                         // BendMode1
    {nullptr, kKey, kF19},                         // BendMode2
    {nullptr, kKey, kF19},                         // BendMode3
    {nullptr, kKey, kF19},                         // BendMode4
    {"BendActivate", kKey, 8},                     // BendActivate
    {"BendDeActivate", kKey, 20},                  // BendDeActivate
    {nullptr, kMouse, 1},                          // BendHold
    {nullptr, kKey, 21},                           // BallReset
    {"BallShoot", kMouse, 0},                      // BallShoot
    {"BallReturn", kMouse, 0},                     // BallReturn
    {"BallDesintegrate", kMouse, 2},               // BallDesintegrate
    {nullptr, kMouse, 0},                          // BallAirRedirect
    {nullptr, kPad, kNone},                        // ControllerModeMenu
    {"ControllerActive", kPad, 1},                 // ControllerActive
    {"ControllerJump", kPad, 0},                   // ControllerJump
    {nullptr, kPad, 3},                            // ControllerBendHold
    {"ControllerRun", kPad, 7},                    // ControllerRun
    {nullptr, kPad, kNone},                        // ControllerBendMode0
    {nullptr, kPad, kNone},                        // ControllerBendMode1
    {nullptr, kPad, kNone},                        // ControllerBendMode2
    {nullptr, kPad, kNone},                        // ControllerBendMode3
    {nullptr, kPad, 0},                            // ControllerReserved
    {"ControllerBendActivate", kPad, 10},          // ControllerBendActivate
    {"ControllerBendDeactivate", kPad, 9},         // ControllerBendDeactivate
    {nullptr, kPad, kNone},                        // ControllerReset
    {"ControllerShoot", kPad, 2},                  // ControllerShoot
    {"ControllerReturn", kPad, 2},                 // ControllerReturn
    {"ControllerDesintegrate", kPad, kNone},       // ControllerDesintegrate
    {nullptr, kPad, 2},                            // ControllerAirRedirect
};

} // namespace

const InputBindings::SlotInfo& InputBindings::Info(Slot slot)
{
    return kSlots[slot < SlotCount ? static_cast<std::uint32_t>(slot) : 0u];
}

InputBindings InputBindings::Defaults()
{
    InputBindings bindings;
    for (std::uint32_t slot = 0; slot < SlotCount; ++slot)
        bindings.codes[slot] = static_cast<std::uint32_t>(kSlots[slot].defaultCode);
    bindings.UsesController = true;
    return bindings;
}

std::array<InputBindings, 2>& InputBindings::Records()
{
    static std::array<InputBindings, 2> records{Defaults(), Defaults()};
    return records;
}

InputBindings& InputBindings::ForPlayer(int playerNumber)
{
    // Odd numbers are player 1's; no arithmetic that could overflow.
    return Records()[(playerNumber & 1) != 0 ? 0u : 1u];
}
