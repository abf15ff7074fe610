// Scene-file section "SpatialCollisionMgr":
//   "Colliders"  array, in entity order, of
//                  {"entity": u32 entity index 1..4095,
//                   "values": {"shape": ECollisionShape, "collision_type": u32}}
// A scene without the section loads no colliders. Reading takes the index's
// current generation and files each collider by its entity's transform. An
// index outside 1..4095, a non-object element or a bad value refuses the whole
// section before any collider changes. Shape values other than 1, 2, 4, 8 and
// 16 read as 1 (see CollisionShape.h).
//
// Per entity (archetypes): "SpatialCollisionMgr": {"values": {...}}.

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace Engine {
namespace {

constexpr const char* kSection = "SpatialCollisionMgr";

std::string Element(std::size_t i) { return "\"Colliders\"[" + std::to_string(i) + "]"; }

const nlohmann::json& ObjectOf(const nlohmann::json& value)
{
    if (!value.is_object())
        Json::ThrowNotAnObject(value);
    return value;
}

// The two persisted values of a collider, read apart from the octree links.
struct StagedValues : Property_Holder {
    Property<ECollisionShape> shape{"shape", static_cast<ECollisionShape>(0), mPropertyMap};
    Property<unsigned int> collision_type{"collision_type", 0u, mPropertyMap};

    void TakeFrom(const SpatialCollider& collider)
    {
        shape.value = collider.shape.value;
        collision_type.value = collider.collision_type.value;
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
    nlohmann::json colliders = nlohmann::json::array();
    for (const auto& [entity, collider] : mColliders) {
        nlohmann::json values;
        collider.GetPropertyMap().ToJson(values);
        colliders.push_back(nlohmann::json{{"entity", entity.GetIndex()}, {"values", std::move(values)}});
    }
    document[kSection]["Colliders"] = std::move(colliders);
}

void SpatialCollisionMgr::Load(const nlohmann::json& document)
{
    if (!document.is_object())
        return;
    const auto section = document.find(kSection);
    if (section == document.end())
        return;
    std::map<std::uint32_t, StagedValues> staged;
    const nlohmann::json& colliders = SceneFormat::ArrayOrNullMember(*section, "Colliders", kSection);
    for (std::size_t i = 0; i < colliders.size() && !colliders.is_null(); ++i) {
        SceneFormat::Within(kSection, Element(i), [&] {
            const nlohmann::json& element = ObjectOf(colliders[i]);
            const std::uint32_t index = SceneFormat::ReadEntityIndex(element.at("entity"));
            if (index == 0)
                SceneFormat::Fail(kSection, Element(i) + " names the null entity");
            auto [at, added] = staged.try_emplace(index);
            if (added) {
                if (const SpatialCollider* held = FindCollider(EntityHandle(index)))
                    at->second.TakeFrom(*held);
            }
            at->second.GetPropertyMap().FromJson(element.at("values"));
        });
    }
    for (const auto& [index, values] : staged) {
        const EntityHandle entity(index);
        UpdateCollider(entity);
        values.GiveTo(*FindCollider(entity));
    }
}

void SpatialCollisionMgr::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (const SpatialCollider* collider = FindCollider(entity))
        collider->GetPropertyMap().ToJson(value[kSection]["values"]);
}

void SpatialCollisionMgr::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (!value.is_object() || entity.IsNull())
        return;
    const auto section = value.find(kSection);
    if (section == value.end())
        return;
    StagedValues staged;
    if (const SpatialCollider* held = FindCollider(entity))
        staged.TakeFrom(*held);
    SceneFormat::Within(kSection, "\"values\"", [&] { staged.GetPropertyMap().FromJson(ObjectOf(*section).at("values")); });
    UpdateCollider(entity);
    staged.GiveTo(*FindCollider(entity));
}

} // namespace Engine
