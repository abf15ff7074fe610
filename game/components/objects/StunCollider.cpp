#include "game/components/objects/StunCollider.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/render/RenderComp.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/Palette.h"
#include "game/components/objects/ArenaObject.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"

#include <algorithm>
#include <vector>

namespace {

// At or below this x scale a shrinking area is gone.
constexpr float kVanishScale = 0.1f;

// Every area alive, so that one that goes can tell whether its owner's
// sound is still wanted.
std::vector<const StunCollider*>& Areas()
{
    static std::vector<const StunCollider*> areas;
    return areas;
}

} // namespace

StunCollider::StunCollider() { Areas().push_back(this); }

StunCollider::~StunCollider()
{
    std::erase(Areas(), this);
    Engine::InstanceTypeEventDispatcher<StunCollider>::GetInstance().RemoveInstance(this);
}

Engine::TypeNode* StunCollider::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<StunCollider, Engine::LogicComp>();
}

void StunCollider::Initialize()
{
    Engine::Subscribe<Engine::CollisionEvent>(this, &StunCollider::OnCollisionEvent);
    mCoolingDown = 0;
    mSpent = 0;
    mElapsed = 0.0;
    mCooldown = 0.0;
    mCooldownMax = 1.75;
    mShrinkAfter = 4.0;
    mMaxScale = glm::vec3(8.0f);
}

void StunCollider::Update()
{
    if (mCoolingDown) {
        mCooldown += PlayerFrame::ScaledDt();
        if (mCooldown >= mCooldownMax) {
            mCoolingDown = 0;
            mCooldown = 0.0;
        }
    } else {
        mElapsed += PlayerFrame::ScaledDt();
        Resize();
    }
    ExchangeWithRecorder();
}

// One step of 1/full size per update, not per second: 64 updates from the
// spawn scale to full size, whatever the frame time.
void StunCollider::Resize()
{
    glm::vec3& scale = Engine::Transform::ScaleRef(owner);
    const glm::vec3 step = 1.0f / mMaxScale;
    if (mElapsed >= mShrinkAfter)
        scale -= step;
    else if (scale.x < mMaxScale.x)
        scale += step;
    if (scale.x >= mMaxScale.x) {
        scale = mMaxScale;
    } else if (scale.x <= kVanishScale) {
        scale = glm::vec3(0.0f);
        owner.Destroy();
    }
}

void StunCollider::OnCollisionEvent(Engine::CollisionEvent* event)
{
    if (!event || !MatchRecorder::GetInstance().isLive || mSpent)
        return;
    const Engine::EntityHandle other = event->other;
    if (mOwner.Exists() && other == mOwner)
        return;
    if (!Engine::EntityTagCompManager::GetInstance().HasTag(other, "Player"))
        return;
    const Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(other);
    if (!player)
        return;
    // The peer's player is stunned by the peer's own copy of this area.
    if (!player->mRemote)
        Stun(*player);
    mCoolingDown = 1;
    mSpent = 1;
    mElapsed = std::max(mElapsed, mShrinkAfter);
}

void StunCollider::Stun(const Player_LogicComp& player)
{
    if (Engine::StateMachine* movement = player.MachineAt(Player_LogicComp::MovementMachine))
        movement->ChangeState("Stunned");
}

void StunCollider::ExchangeWithRecorder()
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (recorder.IsCapturing()) {
        recorder.live.stunAreas.push_back(
            {1, Engine::Transform::GetWorldPosition(owner), *Engine::Transform::ScalePtr(owner)});
        return;
    }
    MatchFrame* front = ArenaObject::ReplayedFrame();
    if (!front)
        return;
    if (const auto record = ArenaObject::TakeNext(front->stunAreas)) {
        Engine::Transform::SetWorldPosition(owner, record->pos);
        Engine::Transform::ScaleRef(owner) = record->sca;
    } else {
        Engine::Transform::SetWorldPosition(owner, MatchRecorder::kOutOfSight);
    }
}

void StunCollider::Shutdown()
{
    mGone = true;
    StopOwnersSound();
    Engine::InstanceTypeEventDispatcher<StunCollider>::GetInstance().RemoveInstance(this);
}

// Another area of the same owner that still stands keeps the sound going.
void StunCollider::StopOwnersSound()
{
    if (!mOwner.Exists())
        return;
    const bool another = std::ranges::any_of(Areas(), [this](const StunCollider* area) {
        return area != this && !area->mGone && area->mOwner.value == mOwner.value;
    });
    if (another)
        return;
    if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(mOwner))
        sounds->Pause(kSound);
}

Engine::EntityHandle SpawnStunArea(const glm::vec3& at, Engine::EntityHandle owner)
{
    const Engine::EntityHandle area = Engine::EntityMgr::GetInstance().CreateEntity();
    if (area.IsNull())
        return area;
    Engine::TransformCompManager::GetInstance().AddComponent(area);
    Engine::Transform::ScaleRef(area) = StunCollider::kSpawnScale;
    Engine::Transform::PositionRef(area) = at;

    // Players are told of a touch but never pushed.
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(area);
    body.mCollisionShape.value = Engine::ShapeSphere;
    body.mGhost.value = true;
    body.mInvMass.value = 0.0f;
    ArenaObject::TagBody(body, "Stun",
                         {{"Player", 1}, {"Ball", 0}, {"Stun", 0}, {"Forcefield", 0}, {"Tile", 0}, {"Turret", 0}});

    Engine::RenderCompBase& look = ArenaObject::SeeThrough(area, "Sphere", "StunArea", "White");
    Engine::SetEntityName(area, StunCollider::kName);
    look.mAmbientColor.value = CurrentPalette.Colour(StunAmbient);
    look.mDiffuseColor.value = CurrentPalette.Colour(StunDiffuse);
    look.mSpecularColor.value = CurrentPalette.Colour(StunSpecular);
    look.ResolveResources();

    Engine::LogicManager::GetInstance().AddComponent<StunCollider>(area);
    StunCollider& stun = *Engine::LogicManager::GetCompPtr<StunCollider>(area);
    // Added while no scene runs, it would wait for the scene's start.
    if (Engine::SceneManager::GetState() != Engine::SceneManager::Active)
        stun.Initialize();
    stun.mOwner = owner;
    return area;
}
