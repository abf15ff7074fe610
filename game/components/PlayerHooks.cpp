#include "game/components/PlayerHooks.h"

namespace PlayerSeams {

PlayerHooks& Hooks()
{
    static PlayerHooks hooks;
    return hooks;
}

} // namespace PlayerSeams
