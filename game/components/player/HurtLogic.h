#pragma once
#include "engine/logic/LogicComp.h"
#include "engine/logic/State.h"

// The pulse of a hit: for half a second of game time the screen splits its
// colours and reddens. Machine 2 of the player's SMComponent.
class Hurt_Logic : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    // Adds the hurt machine unless the entity holds three machines already.
    void Initialize() override;
    // Ends a pulse that is under way.
    void Shutdown() override;
};

// "Hurting": drives the post-processing pass's hurt inputs.
class Hurting : public Engine::State {
public:
    static constexpr float kPulseSeconds = 0.5f;

    Hurting() : State("Hurting", 0.0f) {}
    void OnEnter() override { mTimer = 0.0f; }
    void OnUpdate() override;
    void OnExit() override;

private:
    float mTimer = 0.0f;
};
