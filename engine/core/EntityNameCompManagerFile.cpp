// Scene-file section "EntityNameComps" (keys in ascending order):
//   "name_indices"   array[4096] of u16: slot of each entity index, 65535 for none
//   "names"          array[m] of strings in slot order (at most 15 bytes are
//                    kept, never half a UTF-8 character), or null when m = 0
//   "owner_indices"  array[4096] of u16: entity index owning each slot; the
//                    entries from m on carry no meaning
//   "version"        1; a section of another version is ignored
// Older scenes keep the three arrays at the top level of the scene, with no
// version.
//
// Limits checked on load, before anything is stored: table entries are
// 0..65535, at most the first 4096 of a table are read and a shorter table
// leaves the entries past its end as they were; m <= 4095; entity 0 has no
// name; every name index is below m and its slot's owner is that entity;
// every slot below m is owned by an entity naming it (so no two owners).
//
// Per entity (archetypes): "Name": the name as a string.

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/SceneFormat.h"

#include <string>

namespace Engine {
namespace {

constexpr const char* kNameSection = "EntityNameComps";
constexpr int kNameVersion = 1;

using SceneFormat::Element;
using SceneFormat::Fail;

void ReadNames(const nlohmann::json& section, std::vector<EntityNameCompManager::Name>& names)
{
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(section, "names", kNameSection);
    if (array.size() > EntityHandle::kMaxIndex)
        Fail(kNameSection, "holds " + std::to_string(array.size()) + " names, more than "
                           + std::to_string(EntityHandle::kMaxIndex));
    for (std::size_t i = 0; i < array.size(); ++i) {
        const std::string name =
            SceneFormat::Within(kNameSection, Element("names", i), [&] { return array[i].get<std::string>(); });
        names.push_back(EntityNameCompManager::MakeName(name));
    }
}

} // namespace

void EntityNameCompManager::Save(nlohmann::json& document)
{
    nlohmann::json names; // null when there are none
    for (const Name& name : mTables.names)
        names.push_back(name.data());

    nlohmann::json& section = document[kNameSection];
    section = nlohmann::json::object();
    section["name_indices"] = SceneFormat::TableArray(mTables.nameIndices);
    section["names"] = std::move(names);
    section["owner_indices"] = SceneFormat::TableArray(mTables.ownerIndices);
    section["version"] = kNameVersion;
}

void EntityNameCompManager::Load(const nlohmann::json& document)
{
    const nlohmann::json* section =
        SceneFormat::FindSection(document, kNameSection, kNameVersion, {"name_indices", "owner_indices", "names"});
    if (!section)
        return;
    // The tables start from the held ones: a short table changes only the
    // entries it has.
    Tables loaded;
    loaded.nameIndices = mTables.nameIndices;
    loaded.ownerIndices = mTables.ownerIndices;
    SceneFormat::ReadTable(*section, "name_indices", loaded.nameIndices, kNameSection);
    SceneFormat::ReadTable(*section, "owner_indices", loaded.ownerIndices, kNameSection);
    ReadNames(*section, loaded.names);
    SceneFormat::CheckSlotTables(loaded.nameIndices, loaded.ownerIndices, loaded.names.size(), kNameSection,
                                 "name_indices", "names");
    mTables = std::move(loaded);
}

void EntityNameCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (HasComponent(entity))
        value["Name"] = GetName(entity);
}

void EntityNameCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (!value.is_object() || entity.IsNull())
        return;
    const auto found = value.find("Name");
    if (found == value.end() || found->is_null())
        return;
    const std::string name = SceneFormat::Within("Name", "", [&] { return found->get<std::string>(); });
    AddComponent(entity);
    SetName(entity, name.c_str());
}

} // namespace Engine
