#include "game/config/MovementSlots.h"

namespace MovementSlots {

std::vector<std::int32_t> Keys()
{
    std::vector<std::int32_t> keys;
    for (const InputBindings& bindings : InputBindings::Records()) {
        for (const Walk& walk : kWalks)
            keys.push_back(static_cast<std::int32_t>(bindings.Code(walk.slot)));
        keys.push_back(static_cast<std::int32_t>(bindings.Code(kRunKey)));
    }
    return keys;
}

std::vector<std::uint8_t> PadButtons()
{
    std::vector<std::uint8_t> buttons;
    for (const InputBindings& bindings : InputBindings::Records())
        buttons.push_back(bindings.Button(kRunButton));
    return buttons;
}

} // namespace MovementSlots
