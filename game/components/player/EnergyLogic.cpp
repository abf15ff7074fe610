#include "game/components/player/EnergyLogic.h"

#include "engine/audio/Emitter.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/MatchStats.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"

#include <algorithm>
#include <string>

namespace {

constexpr float kExhaustedFov = 0.85f;
constexpr float kNoEnergyVolume = 0.15f;

// The whole units the HUD names its texture after. A replay sets the energy
// from a file, where any float may stand: below zero (or not a number) shows
// the empty bar, and nothing is cast from past the int range.
int WholeUnits(float energy)
{
    if (!(energy > 0.0f))
        return 0;
    constexpr float kMost = 1.0e6f;
    return static_cast<int>(std::min(energy, kMost));
}

} // namespace

Engine::TypeNode* Energy_Logic::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<Energy_Logic, Engine::LogicComp>();
}

void Energy_Logic::Initialize()
{
    Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(owner);
    if (!machines || machines->GetStateMachines().size() >= 2)
        return;
    Engine::StateMachine* energy = machines->AddStateMachine();
    energy->AddState(new RechargingEnergy(owner));
    energy->AddState(new UsingEnergy(owner));
    energy->AddState(new Exausted(owner));
    energy->SetInitialState("EnergyRecharge");
    // Each spend restarts the pause after it.
    energy->selfTransition = true;
}

bool Player_LogicComp::SpendEnergy(float amount)
{
    if (mExhausted) {
        if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(owner)) {
            sounds->Play("no_energy", false, false);
            sounds->SetVolume("no_energy", kNoEnergyVolume);
        }
        return false;
    }
    if (Energy.value - amount < 0.0f)
        return false;
    Energy.value -= amount;
    if (Engine::StateMachine* energy = MachineAt(EnergyMachine))
        energy->ChangeState("UsingEnergy");
    return true;
}

Player_LogicComp* EnergyState::Player() const { return Engine::LogicManager::GetCompPtr<Player_LogicComp>(mPlayer); }

void EnergyState::ShowEnergy(const char* prefix) const
{
    if (const Player_LogicComp* player = Player())
        ShowHudTexture(player->mEnergyHud, prefix + std::to_string(WholeUnits(player->Energy.value)));
}

void EnergyState::HideEnergy() const
{
    if (const Player_LogicComp* player = Player())
        ShowHudTexture(player->mEnergyHud, "");
}

// The energy may end up to one unit above the maximum when a fractional
// amount was spent: it is not clamped here.
void RechargingEnergy::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    if (player->Energy.value >= player->MaxEnergy.value) {
        HideEnergy();
        return;
    }
    mTimer += PlayerFrame::Dt();
    if (mTimer >= player->RechageMaxTimer.value) {
        player->Energy.value += 1.0f;
        mTimer = 0.0f;
    }
    ShowEnergy("Energy_");
}

void UsingEnergy::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    mTimer += PlayerFrame::Dt();
    if (player->Energy.value < player->MaxEnergy.value)
        ShowEnergy("Energy_");
    else
        HideEnergy();
    if (mTimer >= player->UsingEnergyMaxTimer.value)
        GetStateMachine()->ChangeState("EnergyRecharge");
    // Asked last, so it wins over the recharge.
    if (player->Energy.value < 1.0f)
        GetStateMachine()->ChangeState("Exausted");
}

void Exausted::OnEnter()
{
    mTimer = 0.0f;
    Player_LogicComp* player = Player();
    if (!player)
        return;
    player->mExhausted = true;
    MatchStats::GetInstance().TimesExhausted.value += 1;
    player->StartFovKick(kExhaustedFov, 0.25f);
}

void Exausted::OnUpdate()
{
    Player_LogicComp* player = Player();
    if (!player)
        return;
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (recorder.IsCapturing())
        recorder.live.players[PlayerFrame::RecordIndex(player->mPlayerNumber)].exausted = 1;
    mTimer += PlayerFrame::Dt();
    if (mTimer >= player->ExhaustedMaxTimer.value) {
        player->Energy.value += 1.0f;
        mTimer = 0.0f;
    }
    if (player->Energy.value >= player->MaxEnergy.value) {
        player->Energy.value = player->MaxEnergy.value;
        GetStateMachine()->ChangeState("EnergyRecharge");
    }
    ShowEnergy("Exhausted_");
}

void Exausted::OnExit()
{
    if (Player_LogicComp* player = Player()) {
        player->mExhausted = false;
        player->StartFovKick(1.0f, 0.5f);
    }
}
