#pragma once
// Scene-file section of the rendering managers that keep their components by
// value (cameras, render, transparent, instanced and HUD components, render
// wrappers, text components, lights, particle emitters):
//
//   "<Section>": [ {"handle": entity index, "values": {property object}}, ... ]
//                or null when the manager held nothing when it was saved
//
// Elements are written in ascending entity index. The property object holds
// one member per property (JSON forms of JsonForms.h). Per entity
// (archetypes) the property object stands alone under the singular key.
// Particle emitters keep no properties: their "values" is null.
//
// Limits checked on load, before any component is created or changed: the
// section is an array or null; every element is an object; "handle" is an
// entity index 1..4095; "values" is an object whose members have their
// properties' types and ranges (for emitters: absent, null or an object,
// not read). A failure names the section and the element.
#include "engine/core/EntityHandle.h"
#include "engine/core/SceneFormat.h"

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Engine::ComponentSection {

struct Element {
    EntityHandle entity;
    const nlohmann::json* values = nullptr;
};

// The checked elements of the section; none when the document lacks it.
std::vector<Element> Read(const nlohmann::json& document, const char* section);
// The entities of a section whose elements carry no properties.
std::vector<EntityHandle> ReadEntities(const nlohmann::json& document, const char* section);

// Where element i's property object stands, for error messages.
std::string ValuesPlace(std::size_t i);

// What a load does with each component it stored: nothing by default.
struct NoFollowUp {
    template <class Component>
    void operator()(Component&) const
    {
    }
};

// Appends every component to the section's array. A missing section is
// created (null when there is nothing to add); a section that is neither
// null nor an array raises the JSON library's push_back type error.
template <class Map>
void Save(nlohmann::json& document, const char* section, const Map& components)
{
    nlohmann::json& array = document[section];
    for (const auto& [entity, component] : components) {
        nlohmann::json element;
        element["handle"] = entity.GetIndex();
        component.GetPropertyMap().ToJson(element["values"]);
        array.push_back(std::move(element));
    }
}

// Reads one property object onto a copy of `base`; the copy is returned only
// when every member could be read.
template <class Staged>
Staged ReadValues(const Staged& base, const nlohmann::json& values, const char* section, const std::string& place)
{
    Staged staged(base);
    SceneFormat::Within(section, place, [&] { staged.GetPropertyMap().FromJson(values); });
    return staged;
}

// Every element of the section read onto the component it updates (the
// existing one, an earlier element of the same entity, or a new default
// one), in element order. Nothing of the manager changes here.
template <class Staged, class Map>
std::vector<std::pair<EntityHandle, Staged>> Stage(const nlohmann::json& document, const char* section,
                                                  const Map& components)
{
    const std::vector<Element> elements = Read(document, section);
    std::vector<std::pair<EntityHandle, Staged>> staged;
    staged.reserve(elements.size());
    std::unordered_map<std::uint32_t, std::size_t> latest;
    const Staged fresh;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element& element = elements[i];
        const Staged* base = &fresh;
        if (auto earlier = latest.find(element.entity.GetIndex()); earlier != latest.end())
            base = &staged[earlier->second].second;
        else if (auto existing = components.find(element.entity); existing != components.end())
            base = &static_cast<const Staged&>(existing->second);
        Staged values = ReadValues(*base, *element.values, section, ValuesPlace(i));
        latest[element.entity.GetIndex()] = staged.size();
        staged.emplace_back(element.entity, std::move(values));
    }
    return staged;
}

// The whole section staged, then stored: the components that are missing
// are created, and followUp(component) runs for each one stored. Staged is
// the part of the component that the file holds.
template <class Staged, class Map, class FollowUp = NoFollowUp>
void Load(const nlohmann::json& document, const char* section, Map& components, FollowUp followUp = {})
{
    for (const auto& [entity, values] : Stage<Staged>(document, section, components)) {
        auto& component = components.try_emplace(entity).first->second;
        static_cast<Staged&>(component) = values;
        followUp(component);
    }
}

// The entity's property object under `key`, when it has a component.
template <class Map>
void SaveEntity(nlohmann::json& value, const char* key, const Map& components, EntityHandle entity)
{
    auto found = components.find(entity);
    if (found != components.end())
        found->second.GetPropertyMap().ToJson(value[key]);
}

// Reads the property object under `key` onto the entity's component (a new
// default one when it has none); nothing when the object lacks the key.
template <class Staged, class Map, class FollowUp = NoFollowUp>
void LoadEntity(const nlohmann::json& value, const char* key, Map& components, EntityHandle entity,
                FollowUp followUp = {})
{
    if (entity.IsNull() || !value.is_object() || !value.contains(key))
        return;
    auto existing = components.find(entity);
    const Staged base = existing != components.end() ? static_cast<const Staged&>(existing->second) : Staged();
    const Staged read = ReadValues(base, value.at(key), key, "");
    auto& component = components.try_emplace(entity).first->second;
    static_cast<Staged&>(component) = read;
    followUp(component);
}

} // namespace Engine::ComponentSection
