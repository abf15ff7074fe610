#pragma once
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapper.h"

#include <vector>

namespace Engine {

// Every render wrapper, by value, in ascending entity index.
//
// Scene section "RenderWrapper" and per-entity key "RenderWrapper": see
// ComponentSection.h; the property object holds the five colours.
//
// Every floor tile reads its wrapper every frame, so the wrappers are also
// found through a table by entity index. The map's elements never move, so
// the table stays right as long as every insertion and removal below keeps
// it so.
class RenderWrapperManager : public SectionComponentMap<RenderWrapper> {
public:
    static RenderWrapperManager& GetInstance();

    // The entity's wrapper, a default one when it had none; null handle and
    // no wrapper for the null entity.
    RenderCompRef<RenderWrapper> AddComponent(EntityHandle entity);
    // Throws InvalidMapKey ("invalid map<K, T> key") when the entity has no
    // wrapper.
    RenderCompRef<RenderWrapper> GetComponent(EntityHandle entity);
    // The entity's wrapper, or null.
    RenderWrapper* GetCompPtr(EntityHandle entity) const
    {
        return entity.IsNull() ? nullptr : mSlots[entity.GetIndex()];
    }

    void RemoveComponent(EntityHandle entity) override;
    void Clear() override;
    void SwapWithAside() override;
    void Load(const nlohmann::json& document) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

private:
    RenderWrapperManager() : SectionComponentMap("RenderWrapper", "RenderWrapper") {}

    void RebuildSlots();

    std::vector<RenderWrapper*> mSlots = std::vector<RenderWrapper*>(EntityHandle::kMaxIndex + 1, nullptr);
};

} // namespace Engine
