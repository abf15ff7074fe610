#pragma once
#include "engine/logic/LogicComp.h"
#include "engine/logic/State.h"

#include <cstdint>
#include <glm/glm.hpp>

// The neutral glowing ball a random arena event releases. It waits 3.5 s
// at the arena's centre, then flies in a random direction at a constant
// speed, bouncing through the arena, until a player's ball touches it (a
// goal) or the next one replaces it. Its speed machine (the last machine of
// its SMComponent) slows it to a quarter for 2 s on the slow-ball perk.
class GoalBall : public Engine::LogicComp {
public:
    static constexpr float kLaunchDelay = 3.5f;
    static constexpr float kBaseSpeed = 25.0f;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;
    void Shutdown() override;

    // Whether a goal ball exists: from its spawn until the last one is gone.
    static bool Alive();

    // Unit length.
    glm::vec3 mDirection{0.0f};
    // Launched: flying and able to give a goal.
    std::uint8_t mActive = 0;
    float mTimer = 0.0f;
    float mLaunchDelay = 1.5f;
    Engine::EntityHandle mTransform;
    float mSpeed = 0.0f;
    float mBaseSpeed = 0.0f;

private:
    void PickDirection();
    void Fly();
    void ExchangeWithRecorder();
};

// The goal ball's speed machine: "Normal" flies at the base speed, "Slow"
// at a quarter of it for 2 s.
class NormalStateGoal : public Engine::State {
public:
    NormalStateGoal() : State("Normal", 0.0f) {}
    void OnUpdate() override;
};

class SlowStateGoal : public Engine::State {
public:
    SlowStateGoal() : State("Slow", 0.0f) {}
    void OnEnter() override;
    void OnUpdate() override;

    float mFactor = 0.25f;
    float mElapsed = 0.0f;
    float mLength = 2.0f;
};

// Replaces any goal ball by a new one at the arena's centre. The host tells
// the peer unless `announce` is false (the peer's own spawn record, a
// replay).
void SpawnGoalBall(bool announce = true);
// The goal ball out, if any, goes back to the arena's middle and waits
// before it flies, as a new one does.
void RestartGoalBall();
