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
// Limits checked on load, before anything is stored: both tables have 4096
// entries of 0..65535; m <= 4095; entity 0 has no name; every name index is
// below m and its slot's owner is that entity; every slot below m is owned by
// an entity naming it (so no two owners).
//
// Per entity (archetypes): "Name": the name as a string.

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <string>

namespace Engine {
namespace {

constexpr const char* kSection = "EntityNameComps";
constexpr int kVersion = 1;
constexpr std::uint16_t kNone = EntityNameCompManager::kNone;

using Tables = EntityNameCompManager::Tables;
using SceneFormat::Fail;

std::string Element(const char* key, std::size_t i) { return std::string("\"") + key + "\"[" + std::to_string(i) + "]"; }

template <class Table>
nlohmann::json TableArray(const Table& table)
{
    nlohmann::json array = nlohmann::json::array();
    for (const std::uint16_t value : table)
        array.push_back(value);
    return array;
}

void ReadTable(const nlohmann::json& section, const char* key, std::array<std::uint16_t, 4096>& table)
{
    const nlohmann::json& array = SceneFormat::ArrayMemberOfSize(section, key, table.size(), kSection);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = SceneFormat::Within(kSection, Element(key, i), [&] { return SceneFormat::ReadU16(array[i]); });
}

void ReadNames(const nlohmann::json& section, std::vector<EntityNameCompManager::Name>& names)
{
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(section, "names", kSection);
    if (array.size() > EntityHandle::kMaxIndex)
        Fail(kSection, "holds " + std::to_string(array.size()) + " names, more than "
                           + std::to_string(EntityHandle::kMaxIndex));
    for (std::size_t i = 0; !array.is_null() && i < array.size(); ++i) {
        const std::string name =
            SceneFormat::Within(kSection, Element("names", i), [&] { return array[i].get<std::string>(); });
        names.push_back(EntityNameCompManager::MakeName(name));
    }
}

void CheckTables(const Tables& tables)
{
    const std::size_t slots = tables.names.size();
    if (tables.nameIndices[0] != kNone)
        Fail(kSection, "the null entity (index 0) has a name");
    for (std::size_t entity = 1; entity < tables.nameIndices.size(); ++entity) {
        const std::uint16_t slot = tables.nameIndices[entity];
        if (slot == kNone)
            continue;
        if (slot >= slots)
            Fail(kSection, Element("name_indices", entity) + " is slot " + std::to_string(slot) + " of "
                               + std::to_string(slots) + " names");
        if (tables.ownerIndices[slot] != entity)
            Fail(kSection, "entity " + std::to_string(entity) + " names slot " + std::to_string(slot)
                               + ", which belongs to entity " + std::to_string(tables.ownerIndices[slot]));
    }
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const std::uint16_t owner = tables.ownerIndices[slot];
        if (owner == 0 || owner > EntityHandle::kMaxIndex || tables.nameIndices[owner] != slot)
            Fail(kSection, "slot " + std::to_string(slot) + " names owner " + std::to_string(owner)
                               + ", which does not name that slot");
    }
}

// The section of a versioned scene, or the scene itself for an older one;
// null when there is nothing to read.
const nlohmann::json* FindSection(const nlohmann::json& document)
{
    if (!document.is_object())
        return nullptr;
    const auto found = document.find(kSection);
    if (found != document.end()) {
        if (!found->is_object())
            Fail(kSection, std::string("expected an object, found ") + found->type_name());
        const double version =
            SceneFormat::Within(kSection, "\"version\"", [&] { return Json::ReadNumber(found->at("version")); });
        return version == kVersion ? &*found : nullptr;
    }
    const bool older = document.contains("name_indices") || document.contains("owner_indices")
        || document.contains("names");
    return older ? &document : nullptr;
}

} // namespace

void EntityNameCompManager::Save(nlohmann::json& document)
{
    nlohmann::json names; // null when there are none
    for (const Name& name : mTables.names)
        names.push_back(name.data());

    nlohmann::json& section = document[kSection];
    section = nlohmann::json::object();
    section["name_indices"] = TableArray(mTables.nameIndices);
    section["names"] = std::move(names);
    section["owner_indices"] = TableArray(mTables.ownerIndices);
    section["version"] = kVersion;
}

void EntityNameCompManager::Load(const nlohmann::json& document)
{
    const nlohmann::json* section = FindSection(document);
    if (!section)
        return;
    Tables loaded;
    ReadTable(*section, "name_indices", loaded.nameIndices);
    ReadTable(*section, "owner_indices", loaded.ownerIndices);
    ReadNames(*section, loaded.names);
    CheckTables(loaded);
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
