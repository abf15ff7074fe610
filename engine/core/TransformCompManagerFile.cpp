// Scene-file section "TransformCompMgr" (keys in ascending order):
//   "data_index_owners"  array[n] of entity index: the owner of each entry
//   "entity_index_map"   array[n] of [entity index, data index]
//   "first_children"     array[n] of entity index, 0 for none
//   "forwards"           array[n] of vec3 {"x", "y", "z"}
//   "next_sibling"       array[n] of entity index, 0 for none
//   "parents"            array[n] of entity index, 0 for a root
//   "positions"          array[n] of vec3
//   "prev_sibling"       array[n] of entity index, 0 for none
//   "scales"             array[n] of vec3
//   "ups"                array[n] of vec3
//   "version"            2; a section of another version is ignored
// Entry counts, dirty tail and world matrices are not stored: a loaded
// manager holds n entries, all dirty.
//
// Limits checked on load, before anything is stored: n <= 4095 and every
// array has n elements; entity indices are 1..4095 and each owns exactly one
// entry; the map agrees with the owners; every link names an entity of the
// section; parents are acyclic; each parent's child list holds exactly the
// entries naming it as parent, with consistent sibling links; roots have no
// siblings.
//
// Per entity (archetypes): "Transform": {"forward", "pos", "scale", "up"},
// each a vec3, the form of Transform3D.

#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"
#include "engine/core/Transform3D.h"
#include "engine/core/TransformCompManager.h"

#include <string>

namespace Engine {
namespace {

constexpr const char* kTransformSection = "TransformCompMgr";
constexpr int kTransformVersion = 2;

using Entries = TransformCompManager::Entries;
using SceneFormat::Element;
using SceneFormat::Fail;

std::string Entity(EntityHandle entity) { return "entity " + std::to_string(entity.GetIndex()); }

nlohmann::json HandleArray(const std::vector<EntityHandle>& handles)
{
    nlohmann::json array = nlohmann::json::array();
    for (const EntityHandle& handle : handles)
        array.push_back(handle.GetIndex());
    return array;
}

nlohmann::json VectorArray(const std::vector<glm::vec3>& values)
{
    nlohmann::json array = nlohmann::json::array();
    for (const glm::vec3& value : values)
        array.push_back(value);
    return array;
}

std::vector<glm::vec3> ReadVectors(const nlohmann::json& array, const char* key)
{
    std::vector<glm::vec3> values;
    values.reserve(array.size());
    for (std::size_t i = 0; i < array.size(); ++i)
        values.push_back(SceneFormat::Within(kTransformSection, Element(key, i), [&] { return array[i].get<glm::vec3>(); }));
    return values;
}

// Links may be null; anything else must own an entry of the section.
std::vector<EntityHandle> ReadLinks(const nlohmann::json& array, const char* key, const Entries& entries)
{
    std::vector<EntityHandle> links;
    links.reserve(array.size());
    for (std::size_t i = 0; i < array.size(); ++i) {
        const std::uint32_t index =
            SceneFormat::Within(kTransformSection, Element(key, i), [&] { return SceneFormat::ReadEntityIndex(array[i]); });
        const EntityHandle link(index);
        if (index != 0 && entries.indexOf.count(link) == 0)
            Fail(kTransformSection, Element(key, i) + " links to " + Entity(link) + ", which has no entry");
        links.push_back(link);
    }
    return links;
}

void ReadOwners(const nlohmann::json& owners, const nlohmann::json& map, Entries& entries)
{
    for (std::size_t i = 0; i < owners.size(); ++i) {
        const std::uint32_t index = SceneFormat::Within(kTransformSection, Element("data_index_owners", i),
                                                        [&] { return SceneFormat::ReadEntityIndex(owners[i]); });
        if (index == 0)
            Fail(kTransformSection, Element("data_index_owners", i) + " is the null entity");
        const EntityHandle owner(index);
        if (!entries.indexOf.emplace(owner, static_cast<std::uint32_t>(i)).second)
            Fail(kTransformSection, Entity(owner) + " owns more than one entry");
        entries.owners.push_back(owner);
    }
    for (std::size_t i = 0; i < map.size(); ++i) {
        const auto [entity, dataIndex] = SceneFormat::Within(kTransformSection, Element("entity_index_map", i), [&] {
            const nlohmann::json& pair = map[i];
            if (!pair.is_array() || pair.size() != 2)
                Fail(kTransformSection, Element("entity_index_map", i) + " is not an [entity, data index] pair");
            return std::pair(SceneFormat::ReadEntityIndex(pair[0]), Json::ReadUnsigned(pair[1]));
        });
        const auto found = entries.indexOf.find(EntityHandle(entity));
        if (found == entries.indexOf.end() || found->second != dataIndex)
            Fail(kTransformSection, Element("entity_index_map", i) + " maps entity " + std::to_string(entity) + " to entry "
                               + std::to_string(dataIndex) + ", which it does not own");
    }
}

void CheckSiblings(const Entries& entries)
{
    const std::size_t n = entries.owners.size();
    std::vector<bool> reached(n, false);
    for (std::size_t p = 0; p < n; ++p) {
        EntityHandle previous;
        for (EntityHandle child = entries.firstChildren[p]; !child.IsNull();) {
            const std::uint32_t c = entries.indexOf.at(child);
            if (reached[c])
                Fail(kTransformSection, "the child list of " + Entity(entries.owners[p]) + " meets " + Entity(child) + " twice");
            reached[c] = true;
            if (!(entries.parents[c] == entries.owners[p]) || !(entries.prevSiblings[c] == previous))
                Fail(kTransformSection, Entity(child) + " is in the child list of " + Entity(entries.owners[p])
                                   + " but its parent or previous sibling disagrees");
            previous = child;
            child = entries.nextSiblings[c];
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const bool root = entries.parents[i].IsNull();
        if (root && !(entries.prevSiblings[i].IsNull() && entries.nextSiblings[i].IsNull()))
            Fail(kTransformSection, "root " + Entity(entries.owners[i]) + " has siblings");
        if (!root && !reached[i])
            Fail(kTransformSection, Entity(entries.owners[i]) + " names parent " + std::to_string(entries.parents[i].GetIndex())
                               + ", whose child list does not hold it");
    }
}

// Walks each chain of parents once; meeting the walk's own path is a loop.
void CheckAcyclic(const Entries& entries)
{
    enum Mark : std::uint8_t { Unseen, OnPath, Done };
    std::vector<Mark> marks(entries.owners.size(), Unseen);
    std::vector<std::uint32_t> path;
    for (std::uint32_t start = 0; start < marks.size(); ++start) {
        std::uint32_t i = start;
        while (marks[i] == Unseen) {
            marks[i] = OnPath;
            path.push_back(i);
            if (entries.parents[i].IsNull())
                break;
            i = entries.indexOf.at(entries.parents[i]);
        }
        if (marks[i] == OnPath && !entries.parents[i].IsNull())
            Fail(kTransformSection, Entity(entries.owners[i]) + " is its own ancestor");
        for (std::uint32_t walked : path)
            marks[walked] = Done;
        path.clear();
    }
}

Entries ReadSection(const nlohmann::json& section)
{
    const nlohmann::json& owners = SceneFormat::ArrayMember(section, "data_index_owners", kTransformSection);
    const std::size_t n = owners.size();
    if (n > EntityHandle::kMaxIndex)
        Fail(kTransformSection, "holds " + std::to_string(n) + " entries, more than " + std::to_string(EntityHandle::kMaxIndex));
    const auto array = [&section, n](const char* key) -> const nlohmann::json& {
        return SceneFormat::ArrayMemberOfSize(section, key, n, kTransformSection);
    };
    const nlohmann::json& map = array("entity_index_map");
    const nlohmann::json& parents = array("parents");
    const nlohmann::json& firstChildren = array("first_children");
    const nlohmann::json& nextSiblings = array("next_sibling");
    const nlohmann::json& prevSiblings = array("prev_sibling");
    const nlohmann::json& positions = array("positions");
    const nlohmann::json& scales = array("scales");
    const nlohmann::json& forwards = array("forwards");
    const nlohmann::json& ups = array("ups");

    Entries entries;
    ReadOwners(owners, map, entries);
    entries.parents = ReadLinks(parents, "parents", entries);
    entries.firstChildren = ReadLinks(firstChildren, "first_children", entries);
    entries.nextSiblings = ReadLinks(nextSiblings, "next_sibling", entries);
    entries.prevSiblings = ReadLinks(prevSiblings, "prev_sibling", entries);
    entries.positions = ReadVectors(positions, "positions");
    entries.scales = ReadVectors(scales, "scales");
    entries.forwards = ReadVectors(forwards, "forwards");
    entries.ups = ReadVectors(ups, "ups");
    CheckSiblings(entries);
    CheckAcyclic(entries);
    entries.worldMatrices.assign(n, glm::mat4(1.0f));
    return entries;
}

} // namespace

void TransformCompManager::Save(nlohmann::json& document)
{
    nlohmann::json map = nlohmann::json::array();
    for (const auto& [entity, index] : mEntries.indexOf)
        map.push_back(nlohmann::json::array({entity.GetIndex(), index}));

    nlohmann::json& section = document[kTransformSection];
    section = nlohmann::json::object();
    section["data_index_owners"] = HandleArray(mEntries.owners);
    section["entity_index_map"] = std::move(map);
    section["first_children"] = HandleArray(mEntries.firstChildren);
    section["forwards"] = VectorArray(mEntries.forwards);
    section["next_sibling"] = HandleArray(mEntries.nextSiblings);
    section["parents"] = HandleArray(mEntries.parents);
    section["positions"] = VectorArray(mEntries.positions);
    section["prev_sibling"] = HandleArray(mEntries.prevSiblings);
    section["scales"] = VectorArray(mEntries.scales);
    section["ups"] = VectorArray(mEntries.ups);
    section["version"] = kTransformVersion;
}

void TransformCompManager::Load(const nlohmann::json& document)
{
    const nlohmann::json* section = SceneFormat::FindSection(document, kTransformSection, kTransformVersion);
    if (!section)
        return;
    Entries loaded = ReadSection(*section);
    mCount = static_cast<std::uint32_t>(loaded.owners.size());
    mDirtyCount = mCount; // the next Update rebuilds every world matrix
    mEntries = std::move(loaded);
    RebuildSlots();
}

void TransformCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (!HasComponent(entity))
        return;
    // Read through marking, as a write would: the entity's subtree is dirty
    // afterwards.
    Transform3D transform;
    transform.pos = ChangedValue(entity, &Entries::positions);
    transform.scale = ChangedValue(entity, &Entries::scales);
    transform.forward = ChangedValue(entity, &Entries::forwards);
    transform.up = ChangedValue(entity, &Entries::ups);
    value["Transform"] = transform;
}

void TransformCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (!value.is_object() || entity.IsNull())
        return;
    const auto found = value.find("Transform");
    if (found == value.end() || found->is_null())
        return;
    const Transform3D transform =
        SceneFormat::Within("Transform", "", [&] { return found->get<Transform3D>(); });
    AddComponent(entity);
    ChangedValue(entity, &Entries::positions) = transform.pos;
    ChangedValue(entity, &Entries::scales) = transform.scale;
    ChangedValue(entity, &Entries::forwards) = transform.forward;
    ChangedValue(entity, &Entries::ups) = transform.up;
}

} // namespace Engine
