// What every active perk shares: the cooldown and its arrows, the share of
// the match recording, and firing on the binding once ready and paid for.
#include "game/components/perks/ActivePerks.h"

#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/MatchStats.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"

#include <algorithm>
#include <cmath>

namespace ActivePerkss {
namespace {

// One arrow per half second of cooldown.
constexpr float kArrowsPerSecond = 2.0f;
// However the factors are set, the row stays on the screen.
constexpr float kMostArrows = 48.0f;

// The camera whose view shows the player's HUD: the player's own.
int CameraIndexOf(const Player_LogicComp& player)
{
    if (const Engine::GameCamera* camera = PlayerFrame::CameraOf(player.mCamera))
        return camera->mCameraIndex.value;
    return player.mPlayerNumber;
}

// Whole arrows for a time, kept within [0, kMostArrows] (NaN counts none).
int ArrowsFor(float seconds, bool roundUp)
{
    const float arrows = kArrowsPerSecond * seconds;
    if (!(arrows > 0.0f))
        return 0;
    return static_cast<int>(std::min(roundUp ? std::ceil(arrows) : std::floor(arrows), kMostArrows));
}

} // namespace

Engine::TypeNode* ActivePerk::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<ActivePerk, Engine::LogicComp>();
}

Player_LogicComp* ActivePerk::Owner() const
{
    return Engine::LogicManager::GetCompPtr<Player_LogicComp>(player.IsNull() ? owner : player);
}

float ActivePerk::EffectiveCooldown() const
{
    const Player_LogicComp* holder = Owner();
    return cooldown * (holder ? holder->mActiveCooldown : 1.0f);
}

float ActivePerk::EffectiveCost() const
{
    const Player_LogicComp* holder = Owner();
    return cost * (holder ? holder->mActiveCost : 1.0f);
}

int ActivePerk::ArrowCount() const { return ArrowsFor(EffectiveCooldown(), true); }

// The timer counts against the scaled cooldown, so the row fills exactly
// when the perk is ready.
int ActivePerk::LitArrowCount() const
{
    const Player_LogicComp* holder = Owner();
    const float factor = holder ? holder->mActiveCooldown : 1.0f;
    return std::min(ArrowsFor(timer * factor, false), ArrowCount());
}

void ActivePerk::Initialize()
{
    player = owner;
    DestroyArrows();
    if (const Player_LogicComp* holder = Owner())
        BuildArrows(ArrowCount(), CameraIndexOf(*holder));
}

void ActivePerk::Update()
{
    Player_LogicComp* holder = Owner();
    if (!holder)
        return;
    AdvanceTimer(*holder);
    ExchangeWithRecorder(*holder);
    ShowArrows(*holder);
    if (TryToFire(*holder))
        Effect(*holder);
}

void ActivePerk::Shutdown() { DestroyArrows(); }

void ActivePerk::Effect(Player_LogicComp& /*owner*/) {}

// The timer stops once full. It runs to the longer of the two cooldowns,
// so that a factor above 1 still lets the perk become ready.
void ActivePerk::AdvanceTimer(const Player_LogicComp& holder)
{
    const float full = std::max(cooldown, cooldown * holder.mActiveCooldown);
    if (full > timer)
        timer += PlayerFrame::ScaledDt();
}

void ActivePerk::ExchangeWithRecorder(const Player_LogicComp& holder)
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    const std::size_t record = PlayerFrame::RecordIndex(holder.mPlayerNumber);
    if (recorder.IsCapturing()) {
        recorder.live.players[record].active = timer;
    } else if (recorder.IsReplaying()) {
        if (const MatchFrame* front = recorder.PlaybackFront())
            timer = front->players[record].active;
    }
}

bool ActivePerk::TryToFire(Player_LogicComp& holder)
{
    if (!MatchRecorder::GetInstance().isLive || !holder.TakesInput() || !holder.mCanAct)
        return false;
    const PlayerControls controls(owner, holder.mPlayerNumber);
    if (!controls.Triggered(InputBindings::Active, InputBindings::ControllerActive))
        return false;
    // Too early, nothing to do it with, or too little energy: nothing is
    // spent and the wait goes on.
    if (timer < EffectiveCooldown() || !EffectAvailable() || !holder.SpendEnergy(EffectiveCost()))
        return false;
    holder.mTimeSinceActive = 0.0f;
    MatchStats::GetInstance().ActiveTriggers.value += 1;
    timer = 0.0f;
    return true;
}

void ActivePerk::ShowArrows(const Player_LogicComp& holder)
{
    const int count = ArrowCount();
    const int camera = CameraIndexOf(holder);
    if (static_cast<int>(arrows.size()) != count) {
        DestroyArrows();
        BuildArrows(count, camera);
    }
    const int lit = LitArrowCount();
    Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
    for (std::size_t i = 0; i < arrows.size(); ++i) {
        if (!arrows[i].IsValid() || !huds.HasComponent(arrows[i]))
            continue;
        ShowHudTexture(arrows[i], static_cast<int>(i) < lit ? "ArrowWhite" : "ArrowGrey");
        huds.GetCompPtr(arrows[i])->mCameraTarget.value = camera;
    }
}

void ActivePerk::BuildArrows(int count, int cameraIndex)
{
    for (int i = 0; i < count; ++i) {
        const glm::vec3 at = arrowOrigin + glm::vec3(static_cast<float>(i) * arrowWidth * kArrowPitch, 0.0f, 0.0f);
        const Engine::EntityHandle arrow = MakeHudEntity(at, glm::vec3(arrowWidth, arrowHeight, 1.0f));
        if (arrow.IsNull())
            return;
        Engine::HUDCompManager::GetInstance().GetCompPtr(arrow)->mCameraTarget.value = cameraIndex;
        ShowHudTexture(arrow, "ArrowWhite");
        Engine::SetEntityName(arrow, "EnergyHUD");
        arrows.push_back(arrow);
    }
}

void ActivePerk::DestroyArrows()
{
    for (Engine::EntityHandle arrow : arrows) {
        if (arrow.IsValid())
            Engine::EntityMgr::GetInstance().DestroyEntity(arrow);
    }
    arrows.clear();
}

} // namespace ActivePerkss
