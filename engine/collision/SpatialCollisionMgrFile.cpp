// Scene-file section "SpatialCollisionMgr": {"Colliders": [...]} as
// CollisionFile.h lays out, each "values" holding
// {"shape": ECollisionShape, "collision_type": u32}. A scene without the
// section loads no colliders. Reading takes the index's current generation
// and files each collider by its entity's transform. An index outside
// 1..4095, a non-object element or a bad value refuses the whole section
// before any collider changes. Shape values other than 1, 2, 4, 8 and 16
// read as 1 (see CollisionShape.h).
//
// Per entity (archetypes): "SpatialCollisionMgr": {"values": {...}}.

#include "engine/collision/CollisionFile.h"
#include "engine/collision/SpatialCollisionMgr.h"

namespace Engine {
namespace {

constexpr const char* kSpatialSection = "SpatialCollisionMgr";

// The two persisted values of a collider, read apart from the octree links.
struct StagedValues : Property_Holder {
    Property<ECollisionShape> shape{"shape", static_cast<ECollisionShape>(0), mPropertyMap};
    Property<unsigned int> collision_type{"collision_type", 0u, mPropertyMap};

    void TakeFrom(const SpatialCollider* collider)
    {
        if (!collider)
            return;
        shape.value = collider->shape.value;
        collision_type.value = collider->collision_type.value;
    }
    void GiveTo(SpatialCollider& collider) const
    {
        collider.shape.value = shape.value;
        collider.collision_type.value = collision_type.value;
    }
};

} // namespace

void SpatialCollisionMgr::Save(nlohmann::json& document)
{
    document[kSpatialSection]["Colliders"] = CollisionFile::WriteColliders(mColliders);
}

void SpatialCollisionMgr::Load(const nlohmann::json& document)
{
    if (!document.is_object())
        return;
    const auto section = document.find(kSpatialSection);
    if (section == document.end())
        return;
    const auto staged = CollisionFile::ReadColliders<StagedValues>(
        *section, kSpatialSection, [this](EntityHandle entity, StagedValues& values) { values.TakeFrom(FindCollider(entity)); });
    for (const auto& [index, values] : staged) {
        const EntityHandle entity(index);
        UpdateCollider(entity);
        values.GiveTo(*FindCollider(entity));
    }
}

void SpatialCollisionMgr::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (const SpatialCollider* collider = FindCollider(entity))
        collider->GetPropertyMap().ToJson(value[kSpatialSection]["values"]);
}

void SpatialCollisionMgr::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (!value.is_object() || entity.IsNull())
        return;
    const auto section = value.find(kSpatialSection);
    if (section == value.end())
        return;
    StagedValues staged;
    staged.TakeFrom(FindCollider(entity));
    CollisionFile::ReadEntityValues(*section, kSpatialSection, staged);
    UpdateCollider(entity);
    staged.GiveTo(*FindCollider(entity));
}

} // namespace Engine
