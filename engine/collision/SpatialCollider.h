#pragma once
#include "engine/collision/CollisionShape.h"
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <string>

namespace Engine {

struct OctreeNode;

// A static collider: an entity's shape and tag, filed in one octree node.
// JSON: {"shape": ..., "collision_type": ...}.
class SpatialCollider : public Property_Holder {
public:
    SpatialCollider() = default;
    // The list links would point into another record's node.
    SpatialCollider(const SpatialCollider&) = delete;
    SpatialCollider& operator=(const SpatialCollider&) = delete;

    // Gives the collider the value of the named tag; an unknown name changes nothing.
    void SetCollisionType(const std::string& tagName);

    // 0 (no shape) until set.
    Property<ECollisionShape> shape{"shape", static_cast<ECollisionShape>(0), mPropertyMap};
    Property<unsigned int> collision_type{"collision_type", 0u, mPropertyMap};

    // The node whose list holds this collider; null until it is filed.
    OctreeNode* node = nullptr;
    SpatialCollider* previous = nullptr;
    SpatialCollider* next = nullptr;
    EntityHandle entity;
};

// One cell of the octree: which children exist and the colliders filed here.
struct OctreeNode {
    std::uint32_t code = 0;
    // Bit i set when child i exists.
    std::uint8_t childMask = 0;
    SpatialCollider* firstCollider = nullptr;
};

// A ray hit, or an entry of an overlap list (distance 0, the contact point).
struct RayHit {
    EntityHandle entity;
    // The ray parameter; -1 for no hit.
    float distance = -1.0f;
    glm::vec3 point{0.0f};
};

} // namespace Engine
