#pragma once
// Pieces shared by the collision sections of scene files. Both managers
// keep the same list:
//   "Colliders"  array, in entity order, of
//                  {"entity": u32 entity index 1..4095,
//                   "values": the record's properties}
// and the per-entity (archetype) form {"values": the record's properties}.
// Reading is staged: the whole list is read into copies before the caller
// stores any of them, so an error leaves the manager as it was.
#include "engine/core/EntityHandle.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace Engine::CollisionFile {

// The element itself; anything but an object raises the JSON library's
// type error.
inline const nlohmann::json& AsObject(const nlohmann::json& value)
{
    if (!value.is_object())
        Json::ThrowNotAnObject(value);
    return value;
}

// The "Colliders" array of records held by entity.
template <class Records>
nlohmann::json WriteColliders(const Records& records)
{
    nlohmann::json list = nlohmann::json::array();
    for (const auto& [entity, record] : records) {
        nlohmann::json values;
        record.GetPropertyMap().ToJson(values);
        list.push_back(nlohmann::json{{"entity", entity.GetIndex()}, {"values", std::move(values)}});
    }
    return list;
}

// The records of the section's "Colliders", by entity index. A record is
// first given the entity's held values by `takeHeld` (entity, record), so
// that the file's values are read over them; an entity listed twice has its
// later values read over its earlier ones.
template <class Record, class TakeHeld>
std::map<std::uint32_t, Record> ReadColliders(const nlohmann::json& section, const char* sectionName, TakeHeld takeHeld)
{
    std::map<std::uint32_t, Record> staged;
    const nlohmann::json& list = SceneFormat::ArrayOrNullMember(section, "Colliders", sectionName);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string place = SceneFormat::Element("Colliders", i);
        SceneFormat::Within(sectionName, place, [&] {
            const nlohmann::json& element = AsObject(list[i]);
            const std::uint32_t index = SceneFormat::ReadEntityIndex(element.at("entity"));
            if (index == 0)
                SceneFormat::Fail(sectionName, place + " names the null entity");
            const auto [at, added] = staged.try_emplace(index);
            if (added)
                takeHeld(EntityHandle(index), at->second);
            at->second.GetPropertyMap().FromJson(element.at("values"));
        });
    }
    return staged;
}

// Reads the per-entity form's "values" over the record.
template <class Record>
void ReadEntityValues(const nlohmann::json& entitySection, const char* sectionName, Record& record)
{
    SceneFormat::Within(sectionName, "\"values\"",
                        [&] { record.GetPropertyMap().FromJson(AsObject(entitySection).at("values")); });
}

} // namespace Engine::CollisionFile
