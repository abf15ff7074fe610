#pragma once
#include "engine/core/EntityHandle.h"
#include "game/config/InputBindings.h"

#include <glm/glm.hpp>

// One player's bindings as gameplay reads them. Every action names its
// keyboard-or-mouse slot and its controller slot: a player without a
// controller (`UsesController` clear) is asked through the first, with the
// key or mouse-button queries its kind calls for; a controller player
// through the second, on the controller bound to its entity.
class PlayerControls {
public:
    using Slot = InputBindings::Slot;

    // The record of player number n: (n - 1) mod 2.
    PlayerControls(Engine::EntityHandle player, int playerNumber);

    bool UsesController() const { return mBindings->UsesController; }
    // Down now / down now and up last frame / up now and down last frame.
    bool Held(Slot keys, Slot pad) const;
    bool Triggered(Slot keys, Slot pad) const;
    bool Released(Slot keys, Slot pad) const;
    // Stick travel, y up; zero without a bound controller.
    glm::vec2 LeftStick() const;
    glm::vec2 RightStick() const;

private:
    enum class Query { Down, Triggered, Released };

    bool Ask(Slot slot, Query query) const;

    Engine::EntityHandle mPlayer;
    const InputBindings* mBindings;
};
