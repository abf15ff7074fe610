#include "engine/render/RenderWrapperManager.h"

#include <algorithm>

namespace Engine {

RenderWrapperManager& RenderWrapperManager::GetInstance()
{
    static RenderWrapperManager manager;
    return manager;
}

RenderCompRef<RenderWrapper> RenderWrapperManager::AddComponent(EntityHandle entity)
{
    RenderWrapper* wrapper = Emplace(entity);
    if (wrapper)
        mSlots[entity.GetIndex()] = wrapper;
    return {entity, wrapper};
}

RenderCompRef<RenderWrapper> RenderWrapperManager::GetComponent(EntityHandle entity)
{
    RenderWrapper* wrapper = GetCompPtr(entity);
    if (!wrapper)
        throw InvalidMapKey();
    return {entity, wrapper};
}

void RenderWrapperManager::RemoveComponent(EntityHandle entity)
{
    SectionComponentMap::RemoveComponent(entity);
    if (!entity.IsNull())
        mSlots[entity.GetIndex()] = nullptr;
}

void RenderWrapperManager::Clear()
{
    SectionComponentMap::Clear();
    RebuildSlots();
}

void RenderWrapperManager::SwapWithAside()
{
    SectionComponentMap::SwapWithAside();
    RebuildSlots();
}

void RenderWrapperManager::Load(const nlohmann::json& document)
{
    // Rebuilt even when the section is refused half way: what stands in the
    // map then is what the table must show.
    try {
        SectionComponentMap::Load(document);
    } catch (...) {
        RebuildSlots();
        throw;
    }
    RebuildSlots();
}

void RenderWrapperManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    // Only this entity's wrapper can have come or changed.
    const auto refresh = [this, &entity] {
        if (!entity.IsNull())
            mSlots[entity.GetIndex()] = Find(entity);
    };
    try {
        SectionComponentMap::LoadEntity(value, entity);
    } catch (...) {
        refresh();
        throw;
    }
    refresh();
}

void RenderWrapperManager::RebuildSlots()
{
    std::fill(mSlots.begin(), mSlots.end(), nullptr);
    for (auto& [entity, wrapper] : mComponents)
        mSlots[entity.GetIndex()] = &wrapper;
}

} // namespace Engine
