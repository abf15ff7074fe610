#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/Palette.h"

#include <cstddef>
#include <cstdint>
#include <glm/glm.hpp>
#include <string>

// The match's random arena events and its palette fade. Every 60 s of game
// time one event fires: crashing tiles, the arena flip or the goal ball; the
// kind was drawn at the previous expiry, so each event is known one period
// ahead. An event is announced for 4 s (the "EventCooldown" sound) before it
// takes effect. A networked client never fires one itself: the host sends
// each to it. Also holds the address a client joins.
class GameState {
public:
    enum EventKind : std::int32_t { CrashingTiles = 0, ArenaFlip = 1, GoalBallEvent = 2 };

    static GameState& GetInstance();

    // A new match: the periods, the timers and the flags back to their start,
    // the local player looked up, the match start time stamped and the first
    // event's kind drawn. Called once the scene is built.
    static void Reset();
    // Everything as a new run has it, the join address too: what one match
    // or menu visit left must not reach the next test of a binary run whole.
    static void ResetToNew();
    // Ends the running event and the local players' holds it asked for; the
    // event timer restarts only when asked. A palette fade under way runs on.
    static void ResetEvents(bool resetEventTimer);
    // Starts the 8 s fade from the current palette to the black one.
    static void ResetPalettes();
    // Once a frame, from the gameplay mode.
    static void Update();

    float eventPeriod = 0.0f;
    float eventTimer = 0.0f;
    float announceTimer = 0.0f;
    float announceDelay = 0.0f;
    float flipTimer = 0.0f;
    float flipDuration = 0.0f;
    // The angle turned in the current frame, radians.
    float flipStep = 0.0f;
    float flipAngle = 0.0f;
    glm::vec3 flipAxis{0.0f};
    // The first entity named "Player_Mouse".
    Engine::EntityHandle mousePlayer;
    Palette fromPalette;
    Palette targetPalette;
    // Seconds into the fade; negative while none runs.
    float paletteFadeTimer = 0.0f;
    // The four event flags, always cleared together.
    std::uint8_t crashPending = 0;
    std::uint8_t flipPending = 0;
    std::uint8_t goalBallPending = 0;
    std::uint8_t announcing = 0;
    // The arena hangs upside down; inverted at the end of every flip.
    std::uint8_t arenaFlipped = 0;
    std::string joinAddress;
    // The longest address kept, "255.255.255.255:65535": a longer paste,
    // file line or typed word is cut.
    static constexpr std::size_t kMaxJoinAddressLength = 21;
    std::int32_t nextEventKind = CrashingTiles;

private:
    GameState() = default;
};
