#include "engine/collision/CollisionComp.h"

#include "engine/collision/CollisionTable.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"

namespace Engine {

Transform3D CollisionComp::IdentityTransform()
{
    Transform3D identity;
    identity.scale = glm::vec3(1.0f);
    identity.forward = glm::vec3(0.0f, 0.0f, 1.0f);
    identity.up = glm::vec3(0.0f, 1.0f, 0.0f);
    return identity;
}

void CollisionComp::SetCollisionType(const std::string& tagName)
{
    CollisionTable::GetInstance().AssignTagValue(tagName, collision_type.value);
}

void CollisionComp::Integrate(EntityHandle owner)
{
    const float invMass = mInvMass.value;
    if (invMass == 0.0f)
        return;
    glm::vec3& force = mAcceleration.value;
    force += mGravity.value / invMass;
    const float dt = static_cast<float>(FrameRateController::GetScaledDt());
    glm::vec3& velocity = mVelocity.value;
    velocity = (velocity + invMass * force * dt) * mDrag.value;
    if (TransformCompManager::GetInstance().HasComponent(owner))
        Transform::PositionRef(owner) += velocity * dt;
    force = glm::vec3(0.0f);
}

} // namespace Engine
