#include "engine/render/HUDCompManager.h"

#include "engine/core/RuntimeErrors.h"
#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "HUDComps";
constexpr const char* kEntityKey = "HUDComp";
// A component read from a file looks its texture up at once.
constexpr auto kResolve = [](HUDComp& c) { c.ResolveTexture(); };

} // namespace

HUDCompManager& HUDCompManager::GetInstance()
{
    static HUDCompManager manager;
    return manager;
}

void HUDCompManager::RemoveComponent(EntityHandle entity)
{
    mComponents.erase(entity);
}

bool HUDCompManager::HasComponent(EntityHandle entity) const
{
    return mComponents.contains(entity);
}

void HUDCompManager::Clear()
{
    for (const auto& [entity, component] : mComponents)
        entity.Destroy();
    mComponents.clear();
}

HUDCompHandle HUDCompManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    mComponents.try_emplace(entity);
    return {entity};
}

HUDCompHandle HUDCompManager::GetComponent(EntityHandle entity) const
{
    auto found = mComponents.find(entity);
    return found == mComponents.end() ? HUDCompHandle{} : HUDCompHandle{found->first};
}

HUDComp* HUDCompManager::GetCompPtr(EntityHandle entity)
{
    auto found = mComponents.find(entity);
    if (found == mComponents.end())
        throw InvalidMapKey();
    return &found->second;
}

void HUDCompManager::Render(int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(entity);
}

void HUDCompManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mComponents);
}

void HUDCompManager::Load(const nlohmann::json& document)
{
    ComponentSection::Load<HUDComp>(document, kSection, mComponents, kResolve);
}

void HUDCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::SaveEntity(value, kEntityKey, mComponents, entity);
}

void HUDCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::LoadEntity<HUDComp>(value, kEntityKey, mComponents, entity, kResolve);
}

} // namespace Engine
