#include "engine/render/RenderCompManager.h"

#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "RenderComps";
constexpr const char* kEntityKey = "RenderComp";

} // namespace

RenderCompManager& RenderCompManager::GetInstance()
{
    static RenderCompManager manager;
    return manager;
}

void RenderCompManager::RemoveComponent(EntityHandle entity)
{
    mComponents.erase(entity);
}

bool RenderCompManager::HasComponent(EntityHandle entity) const
{
    return mComponents.contains(entity);
}

void RenderCompManager::Clear()
{
    mComponents.clear();
}

RenderCompRef<RenderComp> RenderCompManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    return {entity, &mComponents.try_emplace(entity).first->second};
}

RenderComp* RenderCompManager::GetCompPtr(EntityHandle entity)
{
    auto found = mComponents.find(entity);
    return found == mComponents.end() ? nullptr : &found->second;
}

void RenderCompManager::Render(int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(entity);
}

void RenderCompManager::Render(const ShaderProgram& shader, int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(entity, shader);
}

void RenderCompManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mComponents);
}

void RenderCompManager::Load(const nlohmann::json& document)
{
    auto staged = ComponentSection::Stage<RenderComp>(document, kSection, mComponents);
    ComponentSection::Commit(staged, mComponents, [](EntityHandle, RenderComp& c) { c.ResolveResources(); });
}

void RenderCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    auto found = mComponents.find(entity);
    if (found != mComponents.end())
        found->second.GetPropertyMap().ToJson(value[kEntityKey]);
}

void RenderCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (entity.IsNull() || !value.is_object() || !value.contains(kEntityKey))
        return;
    auto existing = mComponents.find(entity);
    const RenderComp base = existing != mComponents.end() ? existing->second : RenderComp();
    RenderComp read = ComponentSection::ReadValues(base, value.at(kEntityKey), kEntityKey, "");
    RenderComp& stored = mComponents.try_emplace(entity).first->second;
    stored = read;
    stored.ResolveResources();
}

} // namespace Engine
