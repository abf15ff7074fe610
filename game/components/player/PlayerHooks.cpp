#include "game/components/player/PlayerHooks.h"

PlayerHooks& PlayerHooks::Get()
{
    static PlayerHooks hooks;
    return hooks;
}
