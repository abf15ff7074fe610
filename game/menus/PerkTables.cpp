#include "game/menus/PerkTables.h"

namespace LayerCreator {

namespace {

template <std::size_t N>
std::optional<std::uint32_t> NameIn(const std::array<PerkOption, N>& options, int value)
{
    for (const PerkOption& option : options) {
        if (option.value == value)
            return option.textId;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint32_t> ActivePerkName(int value) { return NameIn(kActivePerkOptions, value); }

std::optional<std::uint32_t> PassivePerkName(int value) { return NameIn(kPassivePerkOptions, value); }

} // namespace LayerCreator
