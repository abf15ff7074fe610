#pragma once
#include "engine/collision/CollisionShape.h"
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"
#include "engine/core/Transform3D.h"

#include <glm/glm.hpp>
#include <string>

namespace Engine {

// The physics body of a dynamic entity: its shape, its collision tag and a
// point mass. Gameplay writes the fields directly (a launched ball loses its
// ghost flag and gets an inverse mass of 1); nothing else guards them.
//
// JSON: one object keyed by the property names below.
class CollisionComp : public Property_Holder {
public:
    CollisionComp() = default;
    CollisionComp(const CollisionComp&) = default;
    CollisionComp& operator=(const CollisionComp&) = default;
    ~CollisionComp() = default;

    // Gives the body the value of the named tag; an unknown name changes nothing.
    void SetCollisionType(const std::string& tagName);

    // One step of the point mass over the scaled frame time, moving the
    // owner's own position. A body with an inverse mass of 0 is left exactly
    // as it is, force accumulator included.
    void Integrate(EntityHandle owner);

    // Raises events but is never pushed or bounced.
    Property<bool> mGhost{"mGhost", false, mPropertyMap};
    Property<ECollisionShape> mCollisionShape{"mCollisionShape", ShapeAABB, mPropertyMap};
    // Kept and saved with the body; the passes read the entity's transform.
    Property<Transform3D> transform{"transform", IdentityTransform(), mPropertyMap};
    Property<unsigned int> collision_type{"collision_type", 0u, mPropertyMap};
    // World units per second.
    Property<glm::vec3> mVelocity{"mVelocity", glm::vec3(0.0f), mPropertyMap};
    // Force summed over a frame; the integration step clears it.
    Property<glm::vec3> mAcceleration{"mAcceleration", glm::vec3(0.0f), mPropertyMap};
    // An acceleration: the step turns it into a weight with the mass.
    Property<glm::vec3> mGravity{"mGravity", glm::vec3(0.0f, -1.0f, 0.0f), mPropertyMap};
    // Applied once per step, not per second, so it depends on the frame rate.
    Property<float> mDrag{"mDrag", 0.99f, mPropertyMap};
    // 0 makes the body immovable by integration and by contact response.
    Property<float> mInvMass{"mInvMass", 1.0f, mPropertyMap};
    Property<float> mRestitution{"mRestitution", 0.998f, mPropertyMap};

    static Transform3D IdentityTransform();
};

} // namespace Engine
