#pragma once
#include <array>
#include <cstdint>
#include <optional>

// The perks a player can pick before a match, in the order the choice lists
// show them: each option's name (a text id) and the selection number the
// perk spawner turns into that perk.
namespace LayerCreator {

struct PerkOption {
    std::uint32_t textId;
    int value;
};

// Teleport to the ball, shield, slow ball, stun trap.
inline constexpr std::array<PerkOption, 4> kActivePerkOptions{{{22, 0}, {23, 1}, {24, 2}, {25, 3}}};
// Double jump, charged shot, free running, cheap tiles.
inline constexpr std::array<PerkOption, 4> kPassivePerkOptions{{{27, 0}, {126, 1}, {28, 2}, {29, 3}}};

// The name of a selection number; nothing for a number no option has.
std::optional<std::uint32_t> ActivePerkName(int value);
std::optional<std::uint32_t> PassivePerkName(int value);

} // namespace LayerCreator
