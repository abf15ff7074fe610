#include "engine/render/FontRenderCompManager.h"

#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "FontRenderables";
constexpr const char* kEntityKey = "FontRenderable";
// A component read from a file looks its font up at once.
constexpr auto kResolve = [](FontRenderComp& c) { c.ResolveFont(); };

} // namespace

FontRenderCompManager& FontRenderCompManager::GetInstance()
{
    static FontRenderCompManager manager;
    return manager;
}

void FontRenderCompManager::RemoveComponent(EntityHandle entity)
{
    mComponents.erase(entity);
}

bool FontRenderCompManager::HasComponent(EntityHandle entity) const
{
    return mComponents.contains(entity);
}

void FontRenderCompManager::Clear()
{
    mComponents.clear();
}

FontRenderComp* FontRenderCompManager::GetCompPtr(EntityHandle entity)
{
    auto found = mComponents.find(entity);
    return found == mComponents.end() ? nullptr : &found->second;
}

void FontRenderCompManager::Render(int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(entity);
}

void FontRenderCompManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mComponents);
}

void FontRenderCompManager::Load(const nlohmann::json& document)
{
    ComponentSection::Load<FontRenderCompProperties>(document, kSection, mComponents, kResolve);
}

void FontRenderCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::SaveEntity(value, kEntityKey, mComponents, entity);
}

void FontRenderCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::LoadEntity<FontRenderCompProperties>(value, kEntityKey, mComponents, entity, kResolve);
}

} // namespace Engine
