#pragma once
// Scene-file section of the rendering managers that keep their components by
// value (cameras, render, transparent, instanced and HUD components, render
// wrappers, text components, lights):
//
//   "<Section>": [ {"handle": entity index, "values": {property object}}, ... ]
//                or null when the manager held nothing when it was saved
//
// Elements are written in ascending entity index. The property object holds
// one member per property (JSON forms of JsonForms.h). Per entity
// (archetypes) the property object stands alone under the singular key.
//
// Limits checked on load, before any component is created or changed: the
// section is an array or null; every element is an object; "handle" is an
// entity index 1..4095; "values" is an object whose members have their
// properties' types and ranges. A failure names the section and the element.
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
        std::string place = "[" + std::to_string(i) + "] \"values\"";
        Staged values = ReadValues(*base, *element.values, section, place);
        latest[element.entity.GetIndex()] = staged.size();
        staged.emplace_back(element.entity, std::move(values));
    }
    return staged;
}

// Stores staged values, creating the components that are missing; calls
// after(entity, component) for each stored one.
template <class Staged, class Map, class After>
void Commit(const std::vector<std::pair<EntityHandle, Staged>>& staged, Map& components, After after)
{
    for (const auto& [entity, values] : staged) {
        auto& component = components.try_emplace(entity).first->second;
        static_cast<Staged&>(component) = values;
        after(entity, component);
    }
}

} // namespace Engine::ComponentSection
