#pragma once
#include "engine/logic/State.h"

#include <glm/glm.hpp>

namespace Engine {
class RenderWrapper;
}

// The states of a tile's colour machine. Both write the tile's render
// wrapper: ambient 0 is the tile's glow, ambient 1 its texture tint. A
// selected tile shows the palette's selection colours whatever else runs.
// Each lasts 0 s, so a change it requests happens in the same update.

// A splash touched the tile: its tint runs to the splash colour within
// 0.25 s, then the tile fades back.
class GoToColour : public Engine::State {
public:
    static constexpr float kSeconds = 0.25f;

    GoToColour() : State("ToColour", 0.0f) {}
    void OnEnter() override;
    void OnUpdate() override;

    // Another splash while the flash runs: the flash restarts from where it
    // stands towards the middle of the two colours; the same colour again
    // changes nothing.
    void Blend(const glm::vec3& splash);

    glm::vec3 current{0.0f};
    glm::vec3 target{0.0f};
    float elapsed = 0.0f;
    bool selected = false;
};

// At rest, or fading back to the palette's colours after a flash. The
// resting tint follows the palette every frame, so palette fades reach
// resting tiles.
class GoBack : public Engine::State {
public:
    static constexpr float kSeconds = 0.25f;

    GoBack() : State("GoBack", 0.0f) {}
    // The wrapper's tint and diffuse colour become the resting colours.
    void TakeRestingColours(const Engine::RenderWrapper& wrapper);
    void OnEnter() override;
    void OnUpdate() override;

    glm::vec3 currentAmbient{0.0f};
    glm::vec3 currentDiffuse{0.0f};
    glm::vec3 baseAmbient{0.0f};
    glm::vec3 baseDiffuse{0.0f};
    float elapsed = 0.0f;
    bool selected = false;
};
