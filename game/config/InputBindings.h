#pragma once
#include <array>
#include <cstdint>

// The input codes one player plays with: 38 slots of keyboard scancodes,
// mouse buttons and controller buttons, and whether the player reads its
// controller slots (21 to 37) or its keyboard and mouse slots (0 to 20).
// Two records exist, players 1 and 2; gameplay reads them every frame.
struct InputBindings {
    enum Slot : std::uint32_t {
        ModeMenu,
        Active,
        Run,
        Left,
        Right,
        Back,
        Forward,
        Jump,
        BendMode0,
        BendMode1,
        BendMode2,
        BendMode3,
        BendMode4,
        BendActivate,
        BendDeActivate,
        BendHold,
        BallReset,
        BallShoot,
        BallReturn,
        BallDesintegrate,
        BallAirRedirect,
        ControllerModeMenu,
        ControllerActive,
        ControllerJump,
        ControllerBendHold,
        ControllerRun,
        ControllerBendMode0,
        ControllerBendMode1,
        ControllerBendMode2,
        ControllerBendMode3,
        ControllerReserved,
        ControllerBendActivate,
        ControllerBendDeactivate,
        ControllerReset,
        ControllerShoot,
        ControllerReturn,
        ControllerDesintegrate,
        ControllerAirRedirect,
        SlotCount
    };

    enum class Kind : std::uint8_t { Keyboard, Mouse, Controller };

    // What a slot holds and, for the 20 that the user configuration keeps,
    // its key there.
    struct SlotInfo {
        const char* configKey;
        Kind kind;
        std::int32_t defaultCode;
    };

    // Scancode F19: keyboard slots that nothing is bound to by default.
    static constexpr std::int32_t kUnboundKey = 110;
    // A controller slot bound to nothing; read as button 255, which no
    // controller reports.
    static constexpr std::int32_t kNoButton = -1;

    static const SlotInfo& Info(Slot slot);
    static InputBindings Defaults();

    // The records of players 1 and 2 (index 0 and 1).
    static std::array<InputBindings, 2>& Records();
    // The record of player number n: n - 1 taken modulo 2, so any number
    // reaches one of the two.
    static InputBindings& ForPlayer(int playerNumber);

    std::uint32_t Code(Slot slot) const { return codes[slot]; }
    // A controller slot's button: the code's low byte.
    std::uint8_t Button(Slot slot) const { return static_cast<std::uint8_t>(codes[slot] & 0xFF); }

    bool operator==(const InputBindings&) const = default;

    std::array<std::uint32_t, SlotCount> codes{};
    bool UsesController = true;
};
