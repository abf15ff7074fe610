#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/HookCheck.h"

#include <glm/glm.hpp>

// What the player component needs from parts of the match built elsewhere:
// medals, the ball's shot flags, the goal ball, the arena flip, placed perk
// objects and the end of play. Each owner sets its own entries
// (PlayerHooks::Get().pushMedal = ...); until then an entry is null and
// the player skips that step, saying once that the hook is missing.
struct PlayerHooks {
    // Pushes a medal (0 to 8) on the medal component of the entity; an
    // entity without one shows nothing.
    void (*pushMedal)(Engine::EntityHandle holder, int medal) = nullptr;
    // The end-of-match display: the entity's medal component switches to
    // its large display, empties its queue and shows the medal.
    void (*showFinalMedal)(Engine::EntityHandle holder, int medal) = nullptr;

    // How the ball's last shot went, read when it scores a hit.
    struct BallShot {
        bool jumpShot = false; // it left while its owner was in the air
        bool direct = true;    // it touched nothing before the hit
    };
    BallShot (*ballShot)(Engine::EntityHandle ball) = nullptr;

    // Whether a goal ball is out, and spawning one without telling the peer.
    bool (*goalBallAlive)() = nullptr;
    void (*spawnGoalBallQuietly)() = nullptr;
    // The goal ball out goes back to the middle and waits, as a new one does.
    void (*restartGoalBall)() = nullptr;

    // The peer's arena flip: the game state starts its flip and its palette
    // fade.
    void (*startArenaFlip)() = nullptr;

    // A forcefield or a stun area placed by the given player: by the
    // player's own perk, or by the peer (a stun area then belongs to the
    // peer's copy, a forcefield to nobody). The owner of a forcefield is
    // the player whose shield sound stops when it goes; null for none.
    void (*spawnForcefield)(Engine::EntityHandle owner, const glm::vec3& at) = nullptr;
    void (*spawnStunArea)(Engine::EntityHandle owner, const glm::vec3& at) = nullptr;

    // The match is over: the gameplay mode may end it.
    void (*requestEndOfPlay)() = nullptr;

    // The one set of the player's hooks.
    static PlayerHooks& Get();
};
