#pragma once
#include "engine/logic/LogicComp.h"

#include <cstdint>

class Player_LogicComp;

// A passive perk changes its player's tuning for the whole match: while it
// is present and enabled it rewrites the player's values every frame and
// writes its kind into the player's passive-perk kind, which other code
// reads; shut down, it puts the base values back.
// The namespace is spelt so on purpose: it is part of every perk's saved
// type name, which scenes and archetypes carry; keep it.
namespace PasivePerkss {

class PasivePerk : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override { player = owner; }

    std::uint8_t enabled = 1;
    // The player whose values the perk writes; until Initialize, the
    // perk's own entity.
    Engine::EntityHandle player;

protected:
    // The player component, when there is one.
    Player_LogicComp* Owner() const;
    // The same, only while the perk is enabled.
    Player_LogicComp* EnabledOwner() const { return enabled ? Owner() : nullptr; }
};

// Running is free, but every run ends in exhaustion and the ball cannot be
// shot while running or exhausted.
class RunCost0 : public PasivePerk {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Update() override;
    void Shutdown() override;
};

// A second jump in the air.
class DoubleJump : public PasivePerk {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Update() override;
    void Shutdown() override;
};

// Bending at half the cost, running at twice the cost; both from the run's
// base cost.
class TileBendingCost : public PasivePerk {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Update() override;
    void Shutdown() override;
};

// Active perks ready in half the time at twice the energy.
class ActiveCost : public PasivePerk {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Update() override;
    void Shutdown() override;
};

// A jump off a rising tile adds the tile's push; the movement reads the kind.
class RocketJump : public PasivePerk {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override {}
    void Update() override;
};

// The ball's hold-to-charge shot; the ball reads the kind.
class HoldSpeed : public PasivePerk {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override {}
    void Update() override;
};

// Adds the perk that a passive selection of the perk settings stands for
// (0 DoubleJump, 1 HoldSpeed, 2 RunCost0, 3 TileBendingCost, 4 ActiveCost,
// 5 RocketJump), enabled. False, adding nothing, for any other selection.
bool AttachBySelection(Engine::EntityHandle entity, int selection);

} // namespace PasivePerkss
