#include "game/components/perks/PassivePerks.h"

#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "game/components/player/PlayerLogicComp.h"

namespace PasivePerkss {
namespace {

template <class Perk>
Engine::TypeNode* RegisterPerk()
{
    return Engine::TypeRegistry::RegisterUnder<Perk, Engine::LogicComp>();
}

template <class Perk>
bool Attach(Engine::EntityHandle entity)
{
    return !Engine::LogicManager::GetInstance().AddComponent<Perk>(entity).IsNull();
}

void ForgetKind(Player_LogicComp& player) { player.mPassiveKind = Player_LogicComp::kNoPassive; }

} // namespace

Engine::TypeNode* PasivePerk::RegisterClassType() { return RegisterPerk<PasivePerk>(); }
Engine::TypeNode* RunCost0::RegisterClassType() { return RegisterPerk<RunCost0>(); }
Engine::TypeNode* DoubleJump::RegisterClassType() { return RegisterPerk<DoubleJump>(); }
Engine::TypeNode* TileBendingCost::RegisterClassType() { return RegisterPerk<TileBendingCost>(); }
Engine::TypeNode* ActiveCost::RegisterClassType() { return RegisterPerk<ActiveCost>(); }
Engine::TypeNode* RocketJump::RegisterClassType() { return RegisterPerk<RocketJump>(); }
Engine::TypeNode* HoldSpeed::RegisterClassType() { return RegisterPerk<HoldSpeed>(); }

Player_LogicComp* PasivePerk::Owner() const
{
    return Engine::LogicManager::GetCompPtr<Player_LogicComp>(player.IsNull() ? owner : player);
}

// Uses the movement machine (0) and the energy machine (1) of the player.
void RunCost0::Update()
{
    Player_LogicComp* target = EnabledOwner();
    if (!target)
        return;
    Engine::StateMachine* movement = target->MachineAt(Player_LogicComp::MovementMachine);
    Engine::StateMachine* energy = target->MachineAt(Player_LogicComp::EnergyMachine);
    if (!movement || !energy || !movement->GetCurrentState() || !energy->GetCurrentState())
        return;
    const std::string& moving = movement->GetCurrentState()->GetName();
    const std::string& energyState = energy->GetCurrentState()->GetName();
    if (moving == "Start")
        return;
    target->mPassiveKind = Player_LogicComp::kRunCost0;
    target->mRunCost = 0.0f;
    // The perk only takes acting away; the arena's hold has taken it
    // already and gives it back itself.
    if (moving != "Static")
        target->mCanAct = !(moving == "Run" || energyState == "Exausted");

    const Engine::State* before = movement->GetPreviousState();
    const Engine::State* energyBefore = energy->GetPreviousState();
    const bool cameFromRun = before && before->GetName() == "Run";
    // One exhaustion per run: the one that has just ended does not call
    // for another.
    const bool exhaustionJustEnded = energyBefore && energyBefore->GetName() == "Exausted";
    if (cameFromRun && energyState != "Exausted" && !exhaustionJustEnded)
        energy->ChangeState("Exausted");
    // Refilled after a run: "Move" restarts, which forgets the run. Only
    // from "Move", so that no hold or stun is cut short.
    if (target->Energy.value >= target->MaxEnergy.value && moving == "Move" && cameFromRun)
        movement->ChangeState("Move");
}

void RunCost0::Shutdown()
{
    if (Player_LogicComp* target = Owner()) {
        target->mRunCost = target->energy_run_base.value;
        ForgetKind(*target);
    }
}

void DoubleJump::Update()
{
    if (Player_LogicComp* target = EnabledOwner()) {
        target->mPassiveKind = Player_LogicComp::kDoubleJump;
        target->mRunCost = target->energy_run_base.value;
        target->mJumpCount = 2;
    }
}

void DoubleJump::Shutdown()
{
    if (Player_LogicComp* target = Owner()) {
        target->mJumpCount = 1;
        ForgetKind(*target);
    }
}

// Both costs come from the run's base, as the perk was tuned.
void TileBendingCost::Update()
{
    if (Player_LogicComp* target = EnabledOwner()) {
        target->mPassiveKind = Player_LogicComp::kTileBendingCost;
        target->mTileBendCost = target->energy_run_base.value * 0.5f;
        target->mRunCost = target->energy_run_base.value * 2.0f;
    }
}

void TileBendingCost::Shutdown()
{
    if (Player_LogicComp* target = Owner()) {
        target->mTileBendCost = target->energy_run_base.value;
        target->mRunCost = target->energy_run_base.value;
        ForgetKind(*target);
    }
}

void ActiveCost::Update()
{
    if (Player_LogicComp* target = EnabledOwner()) {
        target->mPassiveKind = Player_LogicComp::kActiveCost;
        target->mActiveCost = target->mActiveCostBase * 2.0f;
        target->mActiveCooldown = target->mActiveCooldownBase * 0.5f;
    }
}

void ActiveCost::Shutdown()
{
    if (Player_LogicComp* target = Owner()) {
        target->mActiveCost = target->mActiveCostBase;
        target->mActiveCooldown = target->mActiveCooldownBase;
        ForgetKind(*target);
    }
}

void RocketJump::Update()
{
    if (Player_LogicComp* target = EnabledOwner())
        target->mPassiveKind = Player_LogicComp::kRocketJump;
}

void HoldSpeed::Update()
{
    if (Player_LogicComp* target = EnabledOwner())
        target->mPassiveKind = Player_LogicComp::kHoldSpeed;
}

bool AttachBySelection(Engine::EntityHandle entity, int selection)
{
    switch (selection) {
    case 0:
        return Attach<DoubleJump>(entity);
    case 1:
        return Attach<HoldSpeed>(entity);
    case 2:
        return Attach<RunCost0>(entity);
    case 3:
        return Attach<TileBendingCost>(entity);
    case 4:
        return Attach<ActiveCost>(entity);
    case 5:
        return Attach<RocketJump>(entity);
    default:
        return false;
    }
}

} // namespace PasivePerkss
