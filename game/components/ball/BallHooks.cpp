#include "game/components/ball/BallHooks.h"

BallHooks& BallHooks::Get()
{
    static BallHooks hooks;
    return hooks;
}
