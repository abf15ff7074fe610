#pragma once
#include "engine/logic/LogicComp.h"

// The bubble that follows a player for 5 s: its own ball flies through it,
// the opponent's ball is sent back into its owner's hand. It marks the two
// balls when made (Player_LogicComp::CreateShield) and takes its marks off
// when it goes.
// It lives with the balls: it marks them, and a ball's contact ends it.
class Shield_Logic : public Engine::LogicComp {
public:
    static constexpr float kLifetime = 5.0f;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;
    // Takes the marks off the balls and queues the shield's destruction.
    void Remove();

    // Real seconds since it was made.
    float mTimer = 0.0f;
    // Set by the opponent's ball that it blocked: gone at the next update.
    bool mRemoved = false;
    Engine::EntityHandle mOwner;
    // A player whose opponent's ball is unmarked at removal; the shield's
    // own block mark goes in any case.
    Engine::EntityHandle mOwnerPlayer;
    Engine::EntityHandle mOwnBall;
    Engine::EntityHandle mOpponentBall;
};
