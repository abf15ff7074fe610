#pragma once
#include "engine/logic/State.h"

#include <glm/glm.hpp>
#include <string>

class GoBack;
class TileLogicComponent;

// The tile grinding sound goes by ten names over one file, so that ten tiles
// can grind at once: "tile_moving", "tile_moving2" ... "tile_moving10". The
// player's sounds register them; a raise plays them in turn, a lower plays
// the first.
inline constexpr int kTileMovingSounds = 10;
std::string TileMovingName(int index);

// The states of a tile's height machine. Each lasts 0 s, so a change it
// requests happens in the same machine update. The tile component attaches
// itself to them while it lives (`component`); without it they stand still.

// Match start: the tile rises from somewhere 1 to 5 below its place into
// it, easing out, over 0.25 to 3 s.
class TileStartAnimation : public Engine::State {
public:
    TileStartAnimation() : State("TileStartAnimation", 0.0f) {}
    void OnEnter() override;
    void OnUpdate() override;

    glm::vec3 rest{0.0f};
    glm::vec3 sunk{0.0f};
    float elapsed = 0.0f;
    float duration = 0.0f;
};

// At rest: turns a player's raise or lower request into a step, but only
// while the tile is selected and movable.
class TileStayState : public Engine::State {
public:
    TileStayState() : State("TileStay", 0.0f) {}
    void OnEnter() override;
    void OnUpdate() override;

    Engine::EntityHandle tile;
    TileLogicComponent* component = nullptr;
    // The colour machine's resting state, which knows whether the tile is
    // selected; a sibling in the same state-machine component.
    const GoBack* resting = nullptr;
};

// One height step along the tile's up vector, easing out; the direction is
// the only difference between up and down.
class TileStepState : public Engine::State {
public:
    TileStepState(const char* name, float direction) : State(name, 0.0f), mDirection(direction) {}
    void OnEnter() override;
    void OnUpdate() override;

    glm::vec3 start{0.0f};
    glm::vec3 target{0.0f};
    float progress = 0.0f;
    Engine::EntityHandle transform;
    Engine::EntityHandle tile;
    TileLogicComponent* component = nullptr;

protected:
    // The grinding sound of the step, on the local player's emitter.
    virtual void PlaySound() = 0;

private:
    float mDirection;
};

class TileGoingUpState : public TileStepState {
public:
    TileGoingUpState() : TileStepState("TileUp", 1.0f) {}

protected:
    // The ten grinding sounds in turn.
    void PlaySound() override;
};

class TileGoingDownState : public TileStepState {
public:
    TileGoingDownState() : TileStepState("TileDown", -1.0f) {}

protected:
    void PlaySound() override;
};
