#pragma once
#include "engine/logic/LogicComp.h"
#include "engine/logic/State.h"

#include <glm/glm.hpp>

class Player_LogicComp;

// How a player moves: it hovers above the floor, walks or runs relative to
// its camera, jumps, and looks around with the mouse or the right stick.
// Machine 0 of the player's SMComponent: "Start" (the opening descent) ->
// "Move" <-> "Run"; "Static" (arena events) and "Stunned" (stun areas)
// return to "Move".
class Player_Movement : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    // Adds the movement machine when the entity holds no machine yet.
    void Initialize() override;
};

// What every movement state has: the player it moves. States run with
// duration 0, so a requested switch happens at the machine's next update;
// the timed states count their own time.
class PlayerState : public Engine::State {
public:
    PlayerState(const char* name, Engine::EntityHandle player) : State(name, 0.0f), mPlayer(player) {}

protected:
    // The player of the machine's owner when no handle was given; null once
    // the player component is gone.
    Player_LogicComp* Player() const;

    Engine::EntityHandle mPlayer;
};

// "Move": walking.
class PlayerMoveState : public PlayerState {
public:
    static constexpr float kStickDeadZone = 0.2f;
    static constexpr float kStaticLimit = 3.0f;

    explicit PlayerMoveState(Engine::EntityHandle player, const char* name = "Move") : PlayerState(name, player) {}
    void OnEnter() override;
    void OnUpdate() override;

    float sensitivity = 1.0f;
    bool grounded = false;
    // The acceleration asked for this frame.
    glm::vec3 acceleration{0.0f};
    bool jumpPressed = false;

protected:
    // Hover, the move keys or stick, the speed cap and the jump flag.
    void Steer(Player_LogicComp& player, float speed, float maxSpeed);
    void Jump(Player_LogicComp& player, float jumpSpeed, float rocketSpeed);

private:
    void FollowStaticRequest(Player_LogicComp& player);

    bool mStaticTaken = false;
    float mStaticTimer = 0.0f;
};

// "Run": faster, paid in energy every 0.175 s while moving, with the view
// widened and the footsteps playing.
class PlayerRunState : public PlayerMoveState {
public:
    static constexpr float kPaymentInterval = 0.175f;

    explicit PlayerRunState(Engine::EntityHandle player) : PlayerMoveState(player, "Run") {}
    void OnEnter() override;
    void OnUpdate() override;
    void OnExit() override;

private:
    float mPaymentTimer = 0.0f;
};

// "Start": the opening descent onto the floor, looking at the arena's
// centre, for 3 s of game time.
class PlayerMatchStart : public PlayerState {
public:
    static constexpr float kDuration = 3.0f;

    explicit PlayerMatchStart(Engine::EntityHandle player) : PlayerState("Start", player) {}
    void OnEnter() override { mTimer = 0.0f; }
    void OnUpdate() override;
    void OnExit() override;

private:
    float mTimer = 0.0f;
};

// "Static": held at the player's side of the arena for 3 s while an arena
// event plays; it may still look around.
class PlayerStatic : public PlayerState {
public:
    static constexpr float kDuration = 3.0f;
    static constexpr float kSideX = 10.0f;

    PlayerStatic() : PlayerState("Static", Engine::EntityHandle()) {}
    void OnEnter() override;
    void OnUpdate() override;
    void OnExit() override;

private:
    float mTimer = 0.0f;
};

// "Stunned": frozen in the air for 1.75 s of game time.
class PlayerStunned : public PlayerState {
public:
    static constexpr float kDuration = 1.75f;

    PlayerStunned() : PlayerState("Stunned", Engine::EntityHandle()) {}
    void OnEnter() override { mTimer = 0.0f; }
    void OnUpdate() override;

private:
    float mTimer = 0.0f;
};
