#include "engine/render/RenderCompManager.h"

#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "RenderComps";
constexpr const char* kEntityKey = "RenderComp";
// A component read from a file looks its resources up at once.
constexpr auto kResolve = [](RenderComp& c) { c.ResolveResources(); };

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
    ComponentSection::Load<RenderComp>(document, kSection, mComponents, kResolve);
}

void RenderCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::SaveEntity(value, kEntityKey, mComponents, entity);
}

void RenderCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::LoadEntity<RenderComp>(value, kEntityKey, mComponents, entity, kResolve);
}

} // namespace Engine
