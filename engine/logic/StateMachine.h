#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/logic/State.h"

#include <vector>

namespace Engine {

// Named states and the switches between them. A change is requested by name
// and performed by Update only once the current state's timer has run out,
// so every state runs at least once and for its duration before it is left.
class StateMachine {
public:
    explicit StateMachine(EntityHandle owner);
    virtual ~StateMachine();
    StateMachine(const StateMachine&) = delete;
    StateMachine& operator=(const StateMachine&) = delete;

    // Takes the state over. A null state or a name already held is refused,
    // and a refused state is deleted at once; false then.
    bool AddState(State* state);
    // The held state of that name becomes the initial one and is returned;
    // an unknown name changes nothing and gives null.
    State* SetInitialState(const char* name);
    // Requests a switch; the last request before the switch wins. An unknown
    // or null name leaves any earlier request in place.
    void ChangeState(const char* name);
    State* FindState(const char* name) const;

    template <class T>
    T* GetState() const
    {
        for (State* state : mStates) {
            if (T* match = dynamic_cast<T*>(state))
                return match;
        }
        return nullptr;
    }

    // Leaves the current state, if any, and enters the initial one.
    void Start();
    // Counts the current state down, runs it, and performs a pending switch
    // once its timer has run out: at most one switch per call.
    void Update();

    State* GetCurrentState() const { return mCurrent; }
    State* GetNextState() const { return mNext; }
    State* GetPreviousState() const { return mPrevious; }
    EntityHandle GetOwner() const { return mOwner; }
    // States keep the owner they received when added.
    void SetOwner(EntityHandle owner) { mOwner = owner; }
    const std::vector<State*>& GetStates() const { return mStates; }

    // When set, a request for the current state leaves and re-enters it.
    bool selfTransition = false;

private:
    void SwitchTo();

    std::vector<State*> mStates;
    State* mCurrent = nullptr;
    State* mNext = nullptr;
    State* mInitial = nullptr;
    State* mPrevious = nullptr;
    EntityHandle mOwner;
};

} // namespace Engine
