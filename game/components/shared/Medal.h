#pragma once
#include <cstdint>

// The medals a player earns, by the number the medal component
// (BadgeManagerComp) shows each under; the player's scoring picks them.
// Here, below both, so that the two read the same numbers.
enum Medal : std::uint32_t {
    MedalNormal,
    MedalBounce,
    MedalPerfect,
    MedalActiveShot,
    MedalRevenge,
    MedalJumpShot,
    MedalExhausted,
    MedalGoalShot,
    MedalLost,
    kMedalCount
};
