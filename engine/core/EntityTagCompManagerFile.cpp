// Scene-file section "EntityTagMgr" (keys in ascending order):
//   "tag_indices"        array[4096] of u16: slot of each entity index, 65535 for none
//   "tag_owner_indices"  array[4096] of u16: entity index owning each slot,
//                        65535 from slot m on
//   "tag_vecs"           array[m] of {"tags": [strings] or null}, or null when m = 0
//   "version"            1; a section of another version is ignored
// Older scenes keep the three members at the top level of the scene, with no
// version.
//
// Limits checked on load, before anything is stored: table entries are
// 0..65535, at most the first 4096 of a table are read and a shorter table
// leaves the entries past its end as they were; m <= 4095; entity 0 has no
// tags; every tag index is below m and its slot's owner is that entity; every
// slot below m is owned by an entity naming it (so no two owners). Owner
// entries from m on are reset to 65535 and a tag met twice in one list is
// kept once.
//
// Per entity (archetypes): "Tags": [strings] in order, or null for an empty list.

#include "engine/core/EntityTagCompManager.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <algorithm>
#include <string>

namespace Engine {
namespace {

constexpr const char* kTagSection = "EntityTagMgr";
constexpr int kTagVersion = 1;

using TagList = EntityTagCompManager::TagList;
using SceneFormat::Element;
using SceneFormat::Fail;

nlohmann::json TagArray(const TagList& tags)
{
    nlohmann::json array; // null for an empty list
    for (const std::string& tag : tags)
        array.push_back(tag);
    return array;
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
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(section, "tag_vecs", kTagSection);
    if (array.size() > EntityHandle::kMaxIndex)
        Fail(kTagSection, "holds " + std::to_string(array.size()) + " tag lists, more than "
                           + std::to_string(EntityHandle::kMaxIndex));
    for (std::size_t i = 0; i < array.size(); ++i) {
        lists.push_back(SceneFormat::Within(kTagSection, Element("tag_vecs", i), [&] {
            if (!array[i].is_object())
                Json::ThrowNotAnObject(array[i]);
            return ReadTags(array[i].at("tags"));
        }));
    }
}

} // namespace

void EntityTagCompManager::Save(nlohmann::json& document)
{
    nlohmann::json lists; // null when there are none
    for (const TagList& tags : mTables.tagVecs)
        lists.push_back(nlohmann::json{{"tags", TagArray(tags)}});

    nlohmann::json& section = document[kTagSection];
    section = nlohmann::json::object();
    section["tag_indices"] = SceneFormat::TableArray(mTables.tagIndices);
    section["tag_owner_indices"] = SceneFormat::TableArray(mTables.tagOwnerIndices);
    section["tag_vecs"] = std::move(lists);
    section["version"] = kTagVersion;
}

void EntityTagCompManager::Load(const nlohmann::json& document)
{
    const nlohmann::json* section =
        SceneFormat::FindSection(document, kTagSection, kTagVersion, {"tag_indices", "tag_owner_indices", "tag_vecs"});
    if (!section)
        return;
    // The tables start from the held ones: a short table changes only the
    // entries it has.
    Tables loaded;
    loaded.tagIndices = mTables.tagIndices;
    loaded.tagOwnerIndices = mTables.tagOwnerIndices;
    SceneFormat::ReadTable(*section, "tag_indices", loaded.tagIndices, kTagSection);
    SceneFormat::ReadTable(*section, "tag_owner_indices", loaded.tagOwnerIndices, kTagSection);
    ReadLists(*section, loaded.tagVecs);
    SceneFormat::CheckSlotTables(loaded.tagIndices, loaded.tagOwnerIndices, loaded.tagVecs.size(), kTagSection,
                                 "tag_indices", "tag lists");
    // Owners past the last slot mean nothing in a file; in memory they are none.
    std::fill(loaded.tagOwnerIndices.begin() + static_cast<std::ptrdiff_t>(loaded.tagVecs.size()),
              loaded.tagOwnerIndices.end(), kNone);
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
