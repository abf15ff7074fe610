#include "engine/logic/StateMachine.h"

namespace Engine {

StateMachine::StateMachine(EntityHandle owner) : mOwner(owner) {}

StateMachine::~StateMachine()
{
    for (auto it = mStates.rbegin(); it != mStates.rend(); ++it)
        delete *it;
}

bool StateMachine::AddState(State* state)
{
    if (!state)
        return false;
    if (FindState(state->GetName().c_str())) {
        delete state;
        return false;
    }
    state->mOwner = mOwner;
    state->mMachine = this;
    mStates.push_back(state);
    return true;
}

State* StateMachine::FindState(const char* name) const
{
    if (!name)
        return nullptr;
    for (State* state : mStates) {
        if (state->GetName() == name)
            return state;
    }
    return nullptr;
}

State* StateMachine::SetInitialState(const char* name)
{
    State* found = FindState(name);
    if (found)
        mInitial = found;
    return found;
}

void StateMachine::ChangeState(const char* name)
{
    if (State* found = FindState(name))
        mNext = found;
}

void StateMachine::Start()
{
    if (!mInitial)
        return;
    if (mCurrent) {
        mCurrent->Exit();
        mPrevious = mCurrent;
    } else {
        mPrevious = mInitial;
    }
    mCurrent = mInitial;
    mCurrent->Enter();
    // Overwrites whatever the initial state's OnEnter requested.
    mNext = mCurrent;
}

void StateMachine::Update()
{
    if (!mCurrent)
        return;
    mCurrent->Update();
    const bool requested = mNext && (mNext != mCurrent || selfTransition);
    if (requested && mCurrent->GetTimer() <= 0.0f)
        SwitchTo();
}

void StateMachine::SwitchTo()
{
    mCurrent->Exit();
    mPrevious = mCurrent;
    // Read after OnExit: a request made there redirects this switch.
    mCurrent = mNext;
    mCurrent->Enter();
    mNext = nullptr;
}

} // namespace Engine
