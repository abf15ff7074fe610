#pragma once
#include "engine/core/CompManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapper.h"

#include <map>

namespace Engine {

// Every render wrapper, by value, in ascending entity index.
//
// Scene section "RenderWrapper" and per-entity key "RenderWrapper": see
// ComponentSection.h; the property object holds the five colours.
class RenderWrapperManager : public ICompManager {
public:
    using Components = std::map<EntityHandle, RenderWrapper>;

    static RenderWrapperManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mComponents.size(); }
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // The entity's wrapper, a default one when it had none; null handle and
    // no wrapper for the null entity.
    RenderCompRef<RenderWrapper> AddComponent(EntityHandle entity);
    // Throws InvalidMapKey ("invalid map<K, T> key") when the entity has no
    // wrapper.
    RenderCompRef<RenderWrapper> GetComponent(EntityHandle entity);
    // The entity's wrapper, or null.
    RenderWrapper* GetCompPtr(EntityHandle entity);

    const Components& GetComponents() const { return mComponents; }

private:
    RenderWrapperManager() = default;

    Components mComponents;
};

} // namespace Engine
