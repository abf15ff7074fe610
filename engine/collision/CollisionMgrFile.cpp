// Scene-file section "CollisionMgr":
//   "Colliders"  array, in entity order, of
//                  {"entity": u32 entity index 1..4095,
//                   "values": the body's properties (see CollisionComp.h)}
// followed by the collision table in its own section "CollisionTable" (see
// CollisionTableFile.cpp). A scene without these sections loads no bodies
// and keeps the table. Reading takes the index's current generation; an
// index outside 1..4095, a non-object element or a bad value refuses the
// whole section before any body or tag changes. An entity listed twice has
// its later values read over its earlier ones.
//
// Per entity (archetypes): "CollisionMgr": {"values": the body's properties}.

#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace Engine {
namespace {

constexpr const char* kSection = "CollisionMgr";
constexpr const char* kTableSection = "CollisionTable";

std::string Element(std::size_t i) { return "\"Colliders\"[" + std::to_string(i) + "]"; }

const nlohmann::json& ObjectOf(const nlohmann::json& value)
{
    if (!value.is_object())
        Json::ThrowNotAnObject(value);
    return value;
}

EntityHandle ReadEntity(const nlohmann::json& element, const std::string& place)
{
    const std::uint32_t index = SceneFormat::ReadEntityIndex(element.at("entity"));
    if (index == 0)
        SceneFormat::Fail(kSection, place + " names the null entity");
    return EntityHandle(index);
}

} // namespace

void CollisionMgr::Save(nlohmann::json& document)
{
    nlohmann::json colliders = nlohmann::json::array();
    for (const auto& [entity, body] : mBodies) {
        nlohmann::json values;
        body.GetPropertyMap().ToJson(values);
        colliders.push_back(nlohmann::json{{"entity", entity.GetIndex()}, {"values", std::move(values)}});
    }
    document[kSection]["Colliders"] = std::move(colliders);
    CollisionTable::GetInstance().Save(document[kTableSection]);
}

void CollisionMgr::Load(const nlohmann::json& document)
{
    if (!document.is_object())
        return;
    // Bodies as they will be after the load, by entity index.
    std::map<std::uint32_t, CollisionComp> staged;
    const auto section = document.find(kSection);
    if (section != document.end()) {
        const nlohmann::json& colliders = SceneFormat::ArrayOrNullMember(*section, "Colliders", kSection);
        for (std::size_t i = 0; i < colliders.size() && !colliders.is_null(); ++i) {
            SceneFormat::Within(kSection, Element(i), [&] {
                const nlohmann::json& element = ObjectOf(colliders[i]);
                const EntityHandle entity = ReadEntity(element, Element(i));
                auto [at, added] = staged.try_emplace(entity.GetIndex());
                if (added) {
                    if (const CollisionComp* held = FindComp(entity))
                        at->second = *held;
                }
                at->second.GetPropertyMap().FromJson(element.at("values"));
            });
        }
    }
    const auto table = document.find(kTableSection);
    if (table != document.end())
        CollisionTable::GetInstance().Load(*table);
    for (const auto& [index, body] : staged)
        *GetCompPtr(EntityHandle(index)) = body;
}

void CollisionMgr::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (const CollisionComp* body = FindComp(entity))
        body->GetPropertyMap().ToJson(value[kSection]["values"]);
}

void CollisionMgr::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (!value.is_object() || entity.IsNull())
        return;
    const auto section = value.find(kSection);
    if (section == value.end())
        return;
    const CollisionComp* held = FindComp(entity);
    CollisionComp body = held ? *held : CollisionComp();
    SceneFormat::Within(kSection, "\"values\"", [&] { body.GetPropertyMap().FromJson(ObjectOf(*section).at("values")); });
    *GetCompPtr(entity) = body;
}

} // namespace Engine
