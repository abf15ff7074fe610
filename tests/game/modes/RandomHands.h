#pragma once
#include "engine/core/Random.h"

#include <SDL.h>
#include <array>
#include <cstdint>
#include <set>

// A restless player for long runs: every few frames a new set of held keys
// (the four ways, jump, run, the bending keys, the active perk, gathering
// and letting go of tiles) and a left button held or not, drawn from the
// engine's generator.
class RandomHands {
public:
    static constexpr std::array<SDL_Scancode, 11> kKeys{
        SDL_SCANCODE_W,      SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_SPACE, SDL_SCANCODE_LSHIFT,
        SDL_SCANCODE_E,      SDL_SCANCODE_Q, SDL_SCANCODE_B, SDL_SCANCODE_N, SDL_SCANCODE_LCTRL};

    // True when the hands changed this frame (one frame in eight or so).
    static bool Shuffle(std::set<SDL_Scancode>& held, std::uint32_t& mouseButtons)
    {
        if (Engine::Random::RangeInt(0, 7) != 0)
            return false;
        held.clear();
        for (SDL_Scancode key : kKeys) {
            if (Engine::Random::RangeInt(0, 3) == 0)
                held.insert(key);
        }
        mouseButtons = static_cast<std::uint32_t>(Engine::Random::RangeInt(0, 3)) & SDL_BUTTON_LMASK;
        return true;
    }
};
