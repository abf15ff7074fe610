#include "game/components/objects/WallCollider.h"

#include "engine/collision/CollisionComp.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Transform.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/LogicManager.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/ball/TempBallComp.h"

#include <cmath>

namespace {

// How far below the contact the wall looks for the ground it stands on.
constexpr float kGroundDrop = 2.0f;

glm::vec3 WallUp(Engine::EntityHandle wall)
{
    const glm::vec3* up = Engine::Transform::UpPtr(wall);
    return up ? *up : glm::vec3(0.0f, 1.0f, 0.0f);
}

} // namespace

WallCollider::~WallCollider() { Engine::InstanceTypeEventDispatcher<WallCollider>::GetInstance().RemoveInstance(this); }

Engine::TypeNode* WallCollider::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<WallCollider, Engine::LogicComp>();
}

void WallCollider::Initialize() { Engine::Subscribe<Engine::CollisionEvent>(this, &WallCollider::OnCollision); }

void WallCollider::Update()
{
    if (mKeepAlive)
        mKeepAlive = 0;
    else
        owner.Destroy();
}

void WallCollider::OnCollision(Engine::CollisionEvent* event)
{
    if (!event || event->other.IsNull())
        return;
    const Engine::EntityHandle other = event->other;
    if (Engine::LogicManager::GetCompPtr<TempBallComp>(other) && PlayerFrame::BodyOf(other))
        ReflectBall(other, *event);
    TouchGroundBelow(other);
}

// The ball's velocity is mirrored about the wall's up vector (a ball
// already leaving keeps it) and the ball is pushed out by the depth.
void WallCollider::ReflectBall(Engine::EntityHandle ball, const Engine::CollisionEvent& event) const
{
    const glm::vec3 normal = WallUp(owner);
    Engine::CollisionComp& body = *PlayerFrame::BodyOf(ball);
    glm::vec3& velocity = body.mVelocity.value;
    const float along = glm::dot(normal, velocity);
    if (along <= 0.0f)
        velocity += normal * (-along * body.mRestitution.value - along);
    Engine::Transform::SetWorldPosition(ball, Engine::Transform::GetWorldPosition(ball) +
                                                  normal * std::fabs(event.depth));
}

// Whatever static collider lies under the contact touches the entity too,
// through its own contact handling.
void WallCollider::TouchGroundBelow(Engine::EntityHandle entity) const
{
    Engine::Transform3D probe = Engine::MakeTransform3D(entity);
    probe.pos -= kGroundDrop * WallUp(owner);
    const std::vector<Engine::RayHit> hits =
        Engine::SpatialCollisionMgr::GetInstance().QueryOverlaps(probe, glm::length(probe.scale), entity);
    for (const Engine::RayHit& hit : hits) {
        Engine::CollisionEvent touch;
        touch.other = hit.entity;
        Engine::EventHandlerList::Raise(touch, entity);
    }
}
