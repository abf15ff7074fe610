#include "engine/render/RenderWrapperManager.h"

#include "engine/core/RuntimeErrors.h"
#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "RenderWrapper";
constexpr const char* kEntityKey = "RenderWrapper";

} // namespace

RenderWrapperManager& RenderWrapperManager::GetInstance()
{
    static RenderWrapperManager manager;
    return manager;
}

void RenderWrapperManager::RemoveComponent(EntityHandle entity)
{
    mComponents.erase(entity);
}

bool RenderWrapperManager::HasComponent(EntityHandle entity) const
{
    return mComponents.contains(entity);
}

void RenderWrapperManager::Clear()
{
    mComponents.clear();
}

RenderCompRef<RenderWrapper> RenderWrapperManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    return {entity, &mComponents.try_emplace(entity).first->second};
}

RenderCompRef<RenderWrapper> RenderWrapperManager::GetComponent(EntityHandle entity)
{
    auto found = mComponents.find(entity);
    if (found == mComponents.end())
        throw InvalidMapKey();
    return {found->first, &found->second};
}

RenderWrapper* RenderWrapperManager::GetCompPtr(EntityHandle entity)
{
    auto found = mComponents.find(entity);
    return found == mComponents.end() ? nullptr : &found->second;
}

void RenderWrapperManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mComponents);
}

void RenderWrapperManager::Load(const nlohmann::json& document)
{
    ComponentSection::Load<RenderWrapper>(document, kSection, mComponents);
}

void RenderWrapperManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::SaveEntity(value, kEntityKey, mComponents, entity);
}

void RenderWrapperManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::LoadEntity<RenderWrapper>(value, kEntityKey, mComponents, entity);
}

} // namespace Engine
