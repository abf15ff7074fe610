#include "game/components/objects/ForcefieldCollider.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/RenderComp.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/objects/ArenaObject.h"
#include "game/components/shared/PlayerFrame.h"

#include <algorithm>
#include <vector>

namespace {

constexpr glm::vec3 kDomeScale{12.0f};

// Every dome alive, so that one that goes can tell whether its owner's
// shield still stands elsewhere.
std::vector<const ForcefieldCollider*>& Domes()
{
    static std::vector<const ForcefieldCollider*> domes;
    return domes;
}

} // namespace

ForcefieldCollider::ForcefieldCollider() { Domes().push_back(this); }

ForcefieldCollider::~ForcefieldCollider() { std::erase(Domes(), this); }

Engine::TypeNode* ForcefieldCollider::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<ForcefieldCollider, Engine::LogicComp>();
}

void ForcefieldCollider::Update()
{
    mTimer += PlayerFrame::ScaledDt();
    if (mTimer >= mTimerMax.value && !mExpired)
        Expire();
    // The frame of its end still shows it.
    ExchangeWithRecorder();
}

void ForcefieldCollider::Expire()
{
    mExpired = true;
    if (mOwner.Exists() && !OwnerHasAnotherDome()) {
        if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(mOwner))
            sounds->Pause(kSound);
    }
    owner.Destroy();
}

bool ForcefieldCollider::OwnerHasAnotherDome() const
{
    return std::ranges::any_of(Domes(), [this](const ForcefieldCollider* dome) {
        return dome != this && !dome->mExpired && dome->mOwner.value == mOwner.value;
    });
}

void ForcefieldCollider::ExchangeWithRecorder()
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (recorder.IsCapturing()) {
        recorder.live.forceFields.push_back({1, Engine::Transform::GetWorldPosition(owner)});
    } else if (MatchFrame* front = ArenaObject::ReplayedFrame()) {
        const auto record = ArenaObject::TakeNext(front->forceFields);
        Engine::Transform::SetWorldPosition(owner, record ? record->pos : MatchRecorder::kOutOfSight);
    }
}

Engine::EntityHandle SpawnForcefield(const glm::vec3& at, Engine::EntityHandle owner)
{
    const Engine::EntityHandle dome = Engine::EntityMgr::GetInstance().CreateEntity();
    if (dome.IsNull())
        return dome;
    Engine::TransformCompManager::GetInstance().AddComponent(dome);
    Engine::Transform::ScaleRef(dome) = kDomeScale;
    Engine::Transform::PositionRef(dome) = at;
    ArenaObject::SeeThrough(dome, "Sphere", "ForceField", "ForceField").ResolveResources();

    // A hollow shell: a ball inside stays in, a ball outside stays out.
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(dome);
    body.mCollisionShape.value = Engine::ShapeShell;
    ArenaObject::TagBody(body, "Forcefield",
                         {{"Ball", 2}, {"Tile", 0}, {"Forcefield", 0}, {"Stun", 0}, {"Player", 0}, {"Turret", 0}});
    body.mGhost.value = false;
    body.mInvMass.value = 0.0f;
    Engine::SetEntityName(dome, ForcefieldCollider::kName);

    Engine::LogicManager::GetInstance().AddComponent<ForcefieldCollider>(dome);
    Engine::LogicManager::GetCompPtr<ForcefieldCollider>(dome)->mOwner = owner;
    return dome;
}
