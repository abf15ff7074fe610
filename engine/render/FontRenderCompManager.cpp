#include "engine/render/FontRenderCompManager.h"

#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "FontRenderables";
constexpr const char* kEntityKey = "FontRenderable";

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
    using Properties = FontRenderCompProperties;
    auto staged = ComponentSection::Stage<Properties>(document, kSection, mComponents);
    ComponentSection::Commit(staged, mComponents, [](EntityHandle, FontRenderComp& c) { c.ResolveFont(); });
}

void FontRenderCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    auto found = mComponents.find(entity);
    if (found != mComponents.end())
        found->second.GetPropertyMap().ToJson(value[kEntityKey]);
}

void FontRenderCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (entity.IsNull() || !value.is_object() || !value.contains(kEntityKey))
        return;
    auto existing = mComponents.find(entity);
    const FontRenderCompProperties base =
        existing != mComponents.end() ? existing->second : FontRenderCompProperties();
    FontRenderCompProperties read = ComponentSection::ReadValues(base, value.at(kEntityKey), kEntityKey, "");
    FontRenderComp& stored = mComponents.try_emplace(entity).first->second;
    static_cast<FontRenderCompProperties&>(stored) = read;
    stored.ResolveFont();
}

} // namespace Engine
