#include "game/components/player/HurtLogic.h"

#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/render/Renderer.h"
#include "game/components/shared/PlayerFrame.h"

#include <cmath>

namespace {

constexpr float kPi = 3.1415927f;
// Pixels of colour split and strength of the red at the pulse's peak.
constexpr float kSplitPixels = 8.0f;
constexpr float kTintStrength = 0.35f;

void EndPulse()
{
    Engine::PostProcessingInputs& post = Engine::Renderer::GetInstance().postProcessing;
    post.flag2 = false;
    post.flag3 = false;
}

} // namespace

Engine::TypeNode* Hurt_Logic::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<Hurt_Logic, Engine::LogicComp>();
}

void Hurt_Logic::Initialize()
{
    Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(owner);
    if (!machines || machines->GetStateMachines().size() >= 3)
        return;
    Engine::StateMachine* hurt = machines->AddStateMachine();
    hurt->AddState(new Engine::State("Not_Hurt", 0.0f));
    hurt->AddState(new Hurting);
    hurt->SetInitialState("Not_Hurt");
}

// A match left in the middle of a pulse (pause menu, lost link) destroys its
// scene, which runs no state's exit: the screen must not stay red.
void Hurt_Logic::Shutdown() { EndPulse(); }

void Hurting::OnUpdate()
{
    mTimer += PlayerFrame::ScaledDt();
    const float pulse = std::sin(2.0f * mTimer * kPi);
    Engine::PostProcessingInputs& post = Engine::Renderer::GetInstance().postProcessing;
    post.flag2 = true;
    post.flag3 = true;
    post.integer = static_cast<int>(pulse * kSplitPixels);
    post.float2 = pulse * kTintStrength;
    if (mTimer >= kPulseSeconds)
        GetStateMachine()->ChangeState("Not_Hurt");
}

void Hurting::OnExit() { EndPulse(); }
