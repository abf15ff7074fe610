#include "game/components/player/PlayerHooks.h"

namespace PlayerSeams {

PlayerHooks& Hooks()
{
    static PlayerHooks hooks;
    return hooks;
}

} // namespace PlayerSeams
