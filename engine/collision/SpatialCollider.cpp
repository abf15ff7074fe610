#include "engine/collision/SpatialCollider.h"

#include "engine/collision/CollisionTable.h"

namespace Engine {

void SpatialCollider::SetCollisionType(const std::string& tagName)
{
    CollisionTable::GetInstance().AssignTagValue(tagName, collision_type.value);
}

} // namespace Engine
