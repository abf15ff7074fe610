#include "game/components/BallHooks.h"

namespace BallSeams {

BallHooks& Hooks()
{
    static BallHooks hooks;
    return hooks;
}

} // namespace BallSeams
