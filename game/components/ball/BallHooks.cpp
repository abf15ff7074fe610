#include "game/components/ball/BallHooks.h"

namespace BallSeams {

BallHooks& Hooks()
{
    static BallHooks hooks;
    return hooks;
}

} // namespace BallSeams
