#pragma once
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapper.h"

namespace Engine {

// Every render wrapper, by value, in ascending entity index.
//
// Scene section "RenderWrapper" and per-entity key "RenderWrapper": see
// ComponentSection.h; the property object holds the five colours.
class RenderWrapperManager : public SectionComponentMap<RenderWrapper> {
public:
    static RenderWrapperManager& GetInstance();

    // The entity's wrapper, a default one when it had none; null handle and
    // no wrapper for the null entity.
    RenderCompRef<RenderWrapper> AddComponent(EntityHandle entity) { return {entity, Emplace(entity)}; }
    // Throws InvalidMapKey ("invalid map<K, T> key") when the entity has no
    // wrapper.
    RenderCompRef<RenderWrapper> GetComponent(EntityHandle entity) { return {entity, &At(entity)}; }
    // The entity's wrapper, or null.
    RenderWrapper* GetCompPtr(EntityHandle entity) { return Find(entity); }

private:
    RenderWrapperManager() : SectionComponentMap("RenderWrapper", "RenderWrapper") {}
};

} // namespace Engine
