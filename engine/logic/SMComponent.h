#pragma once
#include "engine/logic/LogicComp.h"
#include "engine/logic/StateMachine.h"

#include <vector>

namespace Engine {

// Owns its entity's state machines and runs them once per frame. Gameplay
// components add their machines from their Initialize, when the owner is
// set, and look them up by position.
class SMComponent : public LogicComp {
public:
    SMComponent() = default;
    ~SMComponent() override;
    SMComponent(const SMComponent&) = delete;
    SMComponent& operator=(const SMComponent&) = delete;

    static TypeNode* RegisterClassType() { return TypeRegistry::RegisterUnder<SMComponent, LogicComp>(); }
    TypeNode* RegisterType() const override { return RegisterClassType(); }
    // Starts each machine that has no current state yet, then updates it. A
    // machine added meanwhile runs in the same walk.
    void Update() override;
    // Deletes every machine and its states; no OnExit runs.
    void Shutdown() override;

    // A new machine owned by this component's entity.
    StateMachine* AddStateMachine();
    const std::vector<StateMachine*>& GetStateMachines() const { return mMachines; }

private:
    void DeleteMachines();

    std::vector<StateMachine*> mMachines; // owned
};

} // namespace Engine
