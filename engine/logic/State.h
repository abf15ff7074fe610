#pragma once
#include "engine/core/EntityHandle.h"

#include <string>

namespace Engine {

class StateMachine;

// One state of a state machine: a name, unique within its machine, and a
// countdown timer that starts from the state's duration on entering and on
// leaving. Gameplay states derive from it and fill in the hooks.
class State {
public:
    State(const char* name, float seconds);
    virtual ~State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // Timer reset to the duration, then the hook.
    virtual void Enter();
    // Timer counts down by the real (unscaled) frame time, then the hook.
    virtual void Update();
    // Timer reset to the duration, then the hook.
    virtual void Exit();
    virtual void OnEnter() {}
    virtual void OnUpdate() {}
    virtual void OnExit() {}

    const std::string& GetName() const { return mName; }
    EntityHandle GetOwner() const { return mOwner; }
    StateMachine* GetStateMachine() const { return mMachine; }
    float GetTimer() const { return mTimer; }
    float GetDuration() const { return mDuration; }
    // The remaining time only.
    void SetTimer(float seconds) { mTimer = seconds; }
    // Duration and remaining time alike.
    void SetDuration(float seconds) { mDuration = mTimer = seconds; }

private:
    friend class StateMachine;

    float mTimer;
    float mDuration;
    EntityHandle mOwner;
    StateMachine* mMachine = nullptr;
    std::string mName;
};

} // namespace Engine
