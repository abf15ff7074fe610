#pragma once
#include "engine/logic/State.h"

#include <cstdint>

class Player_LogicComp;
class TempBallComp;

// The ball's flight: in the hand, flying, flying back, bouncing on the way
// back, slowing to a stop. Each state is owned by the ball entity's flight
// machine and knows the owning player by handle; the machine's owner is the
// ball.
class BallFlightState : public Engine::State {
public:
    BallFlightState(const char* name, float seconds, Engine::EntityHandle player)
        : State(name, seconds), mPlayer(player)
    {
    }

protected:
    // Null once the component or the player is gone.
    TempBallComp* Ball() const;
    Player_LogicComp* Player() const;
    // The owner's hands reach the ball: its player is on this machine (not
    // the peer's mirror) and not behind the pause menu.
    bool OwnerTakesInput() const;
    // The owner may act: it takes input, and is past its opening and static
    // phases.
    bool OwnerCanAct() const;
    void Request(const char* name) const;

    Engine::EntityHandle mPlayer;
};

// "BallIdle": the ball rides beside its owner until a shot. With the
// hold-speed perk the shot charges while the button is held, up to 1 s.
// Leaving the state is the launch.
class BallIdle : public BallFlightState {
public:
    // After a shield block the ball stays in the hand this long.
    static constexpr float kShieldReturnSeconds = 3.0f;

    explicit BallIdle(Engine::EntityHandle player) : BallFlightState("BallIdle", 0.0f, player) {}
    void OnEnter() override;
    void OnUpdate() override;
    void OnExit() override;

    std::uint8_t mShieldReturn = 0;
    // Seconds the shot has charged.
    float mCharge = 0.0f;
    std::uint8_t mFirstPress = 1;

private:
    void FollowOwner() const;
    void ReadShot(Player_LogicComp& player);
    void Launch(Player_LogicComp& player);
};

// "BallBouncing": in flight; the owner may call it back, let it
// disintegrate or reset it into the hand.
class BallBouncing : public BallFlightState {
public:
    explicit BallBouncing(Engine::EntityHandle player) : BallFlightState("BallBouncing", 0.0f, player) {}
    void OnEnter() override;
    void OnUpdate() override;
    void OnExit() override;

private:
    void ReadPad() const;
    void ReadMouseAndKeys() const;
};

// "BallReturn": flies straight back to its owner, into the hand once near.
class BallReturn : public BallFlightState {
public:
    static constexpr float kCatchDistance = 3.0f;

    explicit BallReturn(Engine::EntityHandle player) : BallFlightState("BallReturn", 0.0f, player) {}
    void OnUpdate() override;
};

// "ReturnBounce": a returning ball hit something; it flies on for 0.3 s
// and then goes into the hand.
class ReturnBounce : public BallFlightState {
public:
    explicit ReturnBounce(Engine::EntityHandle player) : BallFlightState("ReturnBounce", 0.3f, player) {}
    void OnEnter() override;
    void OnUpdate() override;
};

// "BallDesintegrate": slows down where it is until it all but stops, then
// goes into the hand.
class BallDesintegrate : public BallFlightState {
public:
    explicit BallDesintegrate(Engine::EntityHandle player) : BallFlightState("BallDesintegrate", 0.0f, player) {}
    void OnUpdate() override;
};

// The speed machine: "Normal" keeps the ball's current speeds at their
// bases, "Slow" (the slow-ball perk) at a quarter of them for 2 s.
class NormalState : public Engine::State {
public:
    NormalState() : State("Normal", 0.0f) {}
    void OnUpdate() override;
};

class SlowState : public Engine::State {
public:
    SlowState() : State("Slow", 0.0f) {}
    void OnEnter() override { mElapsed = 0.0f; }
    void OnUpdate() override;

    float mFactor = 0.25f;
    float mElapsed = 0.0f;
    float mLength = 2.0f;
};
