#include "engine/collision/SpatialCollider.h"

#include "engine/collision/CollisionTable.h"

namespace Engine {

void SpatialCollider::SetCollisionType(const std::string& tagName)
{
    const CollisionTable& table = CollisionTable::GetInstance();
    if (table.HasTag(tagName))
        collision_type.value = table.GetTagValue(tagName);
}

} // namespace Engine
