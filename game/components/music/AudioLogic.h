#pragma once
#include "engine/logic/LogicComp.h"

#include <cstdint>

// Sequences the match music on its player's emitter: the intro, then the
// looping middle track; an arena event interrupts the middle track with the
// event track, and the middle track starts over when that ends. Only the
// first player's entity (odd player number) starts the middle track after
// the intro, so the music is heard once in a two-player match.
class AudioLogic : public Engine::LogicComp {
public:
    // The player number of the player component on an entity, 0 when it has
    // none. The player component installs it.
    using PlayerNumberLookup = int (*)(Engine::EntityHandle entity);
    static void SetPlayerNumberLookup(PlayerNumberLookup lookup);

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Update() override;

    std::uint8_t event_trigger = 0;     // set by the game state to start the event track
    std::uint8_t waiting_for_intro = 1; // the intro is still playing
    std::uint8_t event_playing = 0;

    static constexpr float kMusicVolume = 0.4f;
};
