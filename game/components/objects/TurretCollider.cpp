#include "game/components/objects/TurretCollider.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/net/NamedEntities.h"
#include "game/arena/TurretBall.h"
#include "game/components/shared/PlayerFrame.h"

#include <cmath>

namespace {

// Room left between the turret and a ball it fires.
constexpr float kMuzzleGap = 0.1f;

// How far an entity reaches from its centre, whatever its shape.
float Reach(Engine::EntityHandle entity)
{
    const glm::vec3* scale = Engine::Transform::ScalePtr(entity);
    return scale ? glm::length(*scale) : 0.0f;
}

// The local player: on the mouse, else on a pad; null when neither exists.
Engine::EntityHandle Target()
{
    const Engine::EntityHandle mouse = Net::Names::First(Net::Names::kLocalPlayer);
    return mouse.IsNull() ? Net::Names::First(Net::Names::kGamepadPlayer) : mouse;
}

} // namespace

Engine::TypeNode* TurretCollider::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<TurretCollider, Engine::LogicComp>();
}

void TurretCollider::Initialize() { Engine::Subscribe<Engine::CollisionEvent>(this, &TurretCollider::OnCollisionEvent); }

void TurretCollider::Shutdown() { Engine::InstanceTypeEventDispatcher<TurretCollider>::GetInstance().RemoveInstance(this); }

void TurretCollider::Update()
{
    mTimer += PlayerFrame::ScaledDt();
    if (mTimer >= mTimerMax.value) {
        mTimer = 0.0;
        Fire();
    }
    ExpireBalls();
}

void TurretCollider::Fire()
{
    const Engine::EntityHandle ball = TurretBall::CreateTurretBall(kBallName);
    if (ball.IsNull())
        return;
    mBalls.push_back(ball);
    mBallTimers.push_back(0.0);
    const Engine::EntityHandle target = Target();
    if (!target.IsNull())
        Aim(ball, target);
}

// The ball leaves from the turret's surface on the side of the target (a
// ball inside the turret would destroy it at once) with the way from the
// turret to the target, times the speed factor, as its velocity.
void TurretCollider::Aim(Engine::EntityHandle ball, Engine::EntityHandle target) const
{
    const glm::vec3 from = Engine::Transform::GetWorldPosition(owner);
    const glm::vec3 way = Engine::Transform::GetWorldPosition(target) - from;
    const float length = glm::length(way);
    const glm::vec3 direction = length > 0.0f && std::isfinite(length) ? way / length : glm::vec3(0.0f, 1.0f, 0.0f);
    Engine::Transform::SetWorldPosition(ball, from + direction * (Reach(owner) + Reach(ball) + kMuzzleGap));
    Engine::CollisionMgr::GetInstance().GetCompPtr(ball)->mVelocity.value =
        way * static_cast<float>(turret_speed.value);
}

// Every ball's time advances once per frame; all that reach the lifetime
// in this frame go in this frame.
void TurretCollider::ExpireBalls()
{
    const double dt = PlayerFrame::ScaledDt();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < mBalls.size(); ++i) {
        mBallTimers[i] += dt;
        if (mBallTimers[i] >= mTimerBallMax.value) {
            mBalls[i].Destroy();
            continue;
        }
        mBalls[kept] = mBalls[i];
        mBallTimers[kept] = mBallTimers[i];
        ++kept;
    }
    mBalls.resize(kept);
    mBallTimers.resize(kept);
}

void TurretCollider::OnCollisionEvent(Engine::CollisionEvent* event)
{
    if (event && Engine::EntityTagCompManager::GetInstance().HasTag(event->other, "Ball"))
        owner.Destroy();
}
