#pragma once
#include "engine/logic/LogicComp.h"
#include "engine/logic/State.h"

class Player_LogicComp;

// The player's energy: spent on running, bending and perks, recharged one
// unit at a time after a pause, and, once it falls below one unit, locked
// until it has refilled completely (exhaustion). Machine 1 of the player's
// SMComponent; the energy HUD follows it.
class Energy_Logic : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    // Adds the energy machine unless the entity holds two machines already.
    void Initialize() override;
};

// What the three energy states share: the player and a timer that starts at
// 0 on entry. The timers run on real time, so the end-of-match slow motion
// does not slow them.
class EnergyState : public Engine::State {
public:
    EnergyState(const char* name, Engine::EntityHandle player) : State(name, 0.0f), mPlayer(player) {}
    void OnEnter() override { mTimer = 0.0f; }

protected:
    // Null once the player component is gone.
    Player_LogicComp* Player() const;
    // "Energy_" or "Exhausted_" followed by the whole units left.
    void ShowEnergy(const char* prefix) const;
    void HideEnergy() const;

    Engine::EntityHandle mPlayer;
    float mTimer = 0.0f;
};

// "EnergyRecharge": one unit every "RechageMaxTimer" seconds up to the
// maximum.
class RechargingEnergy : public EnergyState {
public:
    explicit RechargingEnergy(Engine::EntityHandle player) : EnergyState("EnergyRecharge", player) {}
    void OnUpdate() override;
};

// "UsingEnergy": the pause after a spend; every spend re-enters it.
class UsingEnergy : public EnergyState {
public:
    explicit UsingEnergy(Engine::EntityHandle player) : EnergyState("UsingEnergy", player) {}
    void OnUpdate() override;
};

// "Exausted": nothing can be spent; one unit every "ExhaustedMaxTimer"
// seconds until full, with the view narrowed meanwhile. The name is spelt so
// on purpose, as the recordings' "exausted" flag is: keep both.
class Exausted : public EnergyState {
public:
    explicit Exausted(Engine::EntityHandle player) : EnergyState("Exausted", player) {}
    void OnEnter() override;
    void OnUpdate() override;
    void OnExit() override;
};
