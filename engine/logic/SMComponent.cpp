#include "engine/logic/SMComponent.h"

#include <memory>

namespace Engine {

SMComponent::~SMComponent() { DeleteMachines(); }

void SMComponent::Update()
{
    for (std::size_t i = 0; i < mMachines.size(); ++i) {
        StateMachine* machine = mMachines[i];
        if (!machine->GetCurrentState())
            machine->Start();
        machine->Update();
    }
}

void SMComponent::Shutdown() { DeleteMachines(); }

StateMachine* SMComponent::AddStateMachine()
{
    auto machine = std::make_unique<StateMachine>(owner);
    mMachines.push_back(machine.get());
    return machine.release();
}

void SMComponent::DeleteMachines()
{
    // Emptied first, so nothing run by a state's destructor finds a machine
    // half gone.
    std::vector<StateMachine*> machines;
    machines.swap(mMachines);
    for (StateMachine* machine : machines)
        delete machine;
}

} // namespace Engine
