#pragma once
#include "engine/core/CompManager.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/render/ComponentSection.h"

#include <map>

namespace Engine {

// What the rendering managers share: their components kept by value, one per
// entity, in ascending entity index (the draw and save order).
template <class Component>
class ComponentMap : public ICompManager {
public:
    using Components = std::map<EntityHandle, Component>;

    void RemoveComponent(EntityHandle entity) override { mComponents.erase(entity); }
    bool HasComponent(EntityHandle entity) const override { return mComponents.contains(entity); }
    void Clear() override { mComponents.clear(); }
    std::uint64_t Count() const override { return mComponents.size(); }
    void SwapWithAside() override { mComponents.swap(mAside); }

    const Components& GetComponents() const { return mComponents; }

protected:
    ComponentMap() = default;

    // The entity's component, or null.
    Component* Find(EntityHandle entity)
    {
        auto found = mComponents.find(entity);
        return found == mComponents.end() ? nullptr : &found->second;
    }
    // The entity's component; throws InvalidMapKey ("invalid map<K, T> key")
    // when it has none.
    Component& At(EntityHandle entity)
    {
        auto found = mComponents.find(entity);
        if (found == mComponents.end())
            throw InvalidMapKey();
        return found->second;
    }
    // The entity's component, a default one when it had none; null for the
    // null entity.
    Component* Emplace(EntityHandle entity)
    {
        return entity.IsNull() ? nullptr : &mComponents.try_emplace(entity).first->second;
    }

    Components mComponents;
    // The scene kept aside during a scene load.
    Components mAside;
};

// A component map saved as a scene section (see ComponentSection.h) under
// `section`, and per entity under `entityKey`. Staged is the part of the
// component that a file holds; Resolve runs on every component a load stored.
template <class Component, class Staged = Component>
class SectionComponentMap : public ComponentMap<Component> {
public:
    void Save(nlohmann::json& document) override
    {
        ComponentSection::Save(document, mSection, this->mComponents);
    }
    void Load(const nlohmann::json& document) override
    {
        ComponentSection::Load<Staged>(document, mSection, this->mComponents, ResolveStep());
    }
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override
    {
        ComponentSection::SaveEntity(value, mEntityKey, this->mComponents, entity);
    }
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override
    {
        ComponentSection::LoadEntity<Staged>(value, mEntityKey, this->mComponents, entity, ResolveStep());
    }

protected:
    SectionComponentMap(const char* section, const char* entityKey) : mSection(section), mEntityKey(entityKey) {}

    // Looks up what the stored names refer to: nothing by default.
    virtual void Resolve(Component&) {}

private:
    auto ResolveStep()
    {
        return [this](Component& component) { Resolve(component); };
    }

    const char* mSection;
    const char* mEntityKey;
};

} // namespace Engine
