// Scene-file section "EntityTagMgr" (keys in ascending order):
//   "tag_indices"        array[4096] of u16: slot of each entity index, 65535 for none
//   "tag_owner_indices"  array[4096] of u16: entity index owning each slot,
//                        65535 from slot m on
//   "tag_vecs"           array[m] of {"tags": [strings] or null}, or null when m = 0
//   "version"            1; a section of another version is ignored
// Older scenes keep the three members at the top level of the scene, with no
// version.
//
// Limits checked on load, before anything is stored: both tables have 4096
// entries of 0..65535; m <= 4095; entity 0 has no tags; every tag index is
// below m and its slot's owner is that entity; every slot below m is owned by
// an entity naming it (so no two owners). Owner entries from m on are reset to
// 65535 and a tag met twice in one list is kept once.
//
// Per entity (archetypes): "Tags": [strings] in order, or null for an empty list.

#include "engine/core/EntityTagCompManager.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <algorithm>
#include <string>

namespace Engine {
namespace {

constexpr const char* kSection = "EntityTagMgr";
constexpr int kVersion = 1;
constexpr std::uint16_t kNone = EntityTagCompManager::kNone;

using TagList = EntityTagCompManager::TagList;
using Tables = EntityTagCompManager::Tables;
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

nlohmann::json TagArray(const TagList& tags)
{
    nlohmann::json array; // null for an empty list
    for (const std::string& tag : tags)
        array.push_back(tag);
    return array;
}

void ReadTable(const nlohmann::json& section, const char* key, std::array<std::uint16_t, 4096>& table)
{
    const nlohmann::json& array = SceneFormat::ArrayMemberOfSize(section, key, table.size(), kSection);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = SceneFormat::Within(kSection, Element(key, i), [&] { return SceneFormat::ReadU16(array[i]); });
}

// Null reads as no tags; a tag met again is skipped.
TagList ReadTags(const nlohmann::json& tags)
{
    if (!tags.is_null() && !tags.is_array())
        throw nlohmann::json::type_error::create(302, std::string("type must be array, but is ") + tags.type_name(),
                                                 &tags);
    TagList list;
    for (const nlohmann::json& tag : tags) {
        std::string text = tag.get<std::string>();
        if (std::find(list.begin(), list.end(), text) == list.end())
            list.push_back(std::move(text));
    }
    return list;
}

void ReadLists(const nlohmann::json& section, std::vector<TagList>& lists)
{
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(section, "tag_vecs", kSection);
    if (array.size() > EntityHandle::kMaxIndex)
        Fail(kSection, "holds " + std::to_string(array.size()) + " tag lists, more than "
                           + std::to_string(EntityHandle::kMaxIndex));
    for (std::size_t i = 0; !array.is_null() && i < array.size(); ++i) {
        lists.push_back(SceneFormat::Within(kSection, Element("tag_vecs", i), [&] {
            if (!array[i].is_object())
                Json::ThrowNotAnObject(array[i]);
            return ReadTags(array[i].at("tags"));
        }));
    }
}

void CheckTables(Tables& tables)
{
    const std::size_t slots = tables.tagVecs.size();
    if (tables.tagIndices[0] != kNone)
        Fail(kSection, "the null entity (index 0) has tags");
    for (std::size_t entity = 1; entity < tables.tagIndices.size(); ++entity) {
        const std::uint16_t slot = tables.tagIndices[entity];
        if (slot == kNone)
            continue;
        if (slot >= slots)
            Fail(kSection, Element("tag_indices", entity) + " is slot " + std::to_string(slot) + " of "
                               + std::to_string(slots) + " tag lists");
        if (tables.tagOwnerIndices[slot] != entity)
            Fail(kSection, "entity " + std::to_string(entity) + " names slot " + std::to_string(slot)
                               + ", which belongs to entity " + std::to_string(tables.tagOwnerIndices[slot]));
    }
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const std::uint16_t owner = tables.tagOwnerIndices[slot];
        if (owner == 0 || owner > EntityHandle::kMaxIndex || tables.tagIndices[owner] != slot)
            Fail(kSection, "slot " + std::to_string(slot) + " names owner " + std::to_string(owner)
                               + ", which does not name that slot");
    }
    std::fill(tables.tagOwnerIndices.begin() + static_cast<std::ptrdiff_t>(slots), tables.tagOwnerIndices.end(), kNone);
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
    const bool older = document.contains("tag_indices") || document.contains("tag_owner_indices")
        || document.contains("tag_vecs");
    return older ? &document : nullptr;
}

} // namespace

void EntityTagCompManager::Save(nlohmann::json& document)
{
    nlohmann::json lists; // null when there are none
    for (const TagList& tags : mTables.tagVecs)
        lists.push_back(nlohmann::json{{"tags", TagArray(tags)}});

    nlohmann::json& section = document[kSection];
    section = nlohmann::json::object();
    section["tag_indices"] = TableArray(mTables.tagIndices);
    section["tag_owner_indices"] = TableArray(mTables.tagOwnerIndices);
    section["tag_vecs"] = std::move(lists);
    section["version"] = kVersion;
}

void EntityTagCompManager::Load(const nlohmann::json& document)
{
    const nlohmann::json* section = FindSection(document);
    if (!section)
        return;
    Tables loaded;
    ReadTable(*section, "tag_indices", loaded.tagIndices);
    ReadTable(*section, "tag_owner_indices", loaded.tagOwnerIndices);
    ReadLists(*section, loaded.tagVecs);
    CheckTables(loaded);
    mTables = std::move(loaded);
}

void EntityTagCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (HasComponent(entity))
        value["Tags"] = TagArray(GetTags(entity));
}

void EntityTagCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (!value.is_object() || entity.IsNull())
        return;
    const auto found = value.find("Tags");
    if (found == value.end())
        return;
    const TagList tags = SceneFormat::Within("Tags", "", [&] { return ReadTags(*found); });
    AddComponent(entity);
    for (const std::string& tag : tags)
        AddTag(entity, tag);
}

} // namespace Engine
