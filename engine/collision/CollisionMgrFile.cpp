// Scene-file section "CollisionMgr": {"Colliders": [...]} as CollisionFile.h
// lays out, each "values" holding a body's properties (see CollisionComp.h),
// followed by the collision table in its own section "CollisionTable" (see
// CollisionTableFile.cpp). A scene without these sections loads no bodies
// and keeps the table. Reading takes the index's current generation; an
// index outside 1..4095, a non-object element or a bad value refuses the
// whole section before any body or tag changes.
//
// Per entity (archetypes): "CollisionMgr": {"values": the body's properties}.

#include "engine/collision/CollisionFile.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"

namespace Engine {
namespace {

constexpr const char* kBodySection = "CollisionMgr";

} // namespace

void CollisionMgr::Save(nlohmann::json& document)
{
    document[kBodySection]["Colliders"] = CollisionFile::WriteColliders(mBodies);
    CollisionTable::GetInstance().Save(document[CollisionTable::kSection]);
}

void CollisionMgr::Load(const nlohmann::json& document)
{
    if (!document.is_object())
        return;
    std::map<std::uint32_t, CollisionComp> staged;
    const auto section = document.find(kBodySection);
    if (section != document.end()) {
        const auto takeHeld = [this](EntityHandle entity, CollisionComp& body) {
            if (const CollisionComp* held = FindComp(entity))
                body = *held;
        };
        staged = CollisionFile::ReadColliders<CollisionComp>(*section, kBodySection, takeHeld);
    }
    const auto table = document.find(CollisionTable::kSection);
    if (table != document.end())
        CollisionTable::GetInstance().Load(*table);
    for (const auto& [index, body] : staged)
        *GetCompPtr(EntityHandle(index)) = body;
}

void CollisionMgr::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (const CollisionComp* body = FindComp(entity))
        body->GetPropertyMap().ToJson(value[kBodySection]["values"]);
}

void CollisionMgr::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (!value.is_object() || entity.IsNull())
        return;
    const auto section = value.find(kBodySection);
    if (section == value.end())
        return;
    const CollisionComp* held = FindComp(entity);
    CollisionComp body = held ? *held : CollisionComp();
    CollisionFile::ReadEntityValues(*section, kBodySection, body);
    *GetCompPtr(entity) = body;
}

} // namespace Engine
