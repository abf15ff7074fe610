#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/HookCheck.h"

namespace Net {
struct PerkEffect;
}

// What the ball needs from parts of the match built elsewhere; the owner
// sets its entry (BallHooks::Get().remoteTeleport = ...). Until then the
// entry is null and the ball skips that step, saying once that it is missing.
struct BallHooks {
    // The peer's player teleported to its ball: its copy here
    // ("2 Player_Mouse") plays the teleport's effect from the record.
    void (*remoteTeleport)(Engine::EntityHandle peerPlayer, const Net::PerkEffect& record) = nullptr;

    // The one set of the ball's hooks.
    static BallHooks& Get();
};
