#include "engine/render/InstancedRenderableManager.h"

#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "InstancedRenderable";
constexpr const char* kEntityKey = "InstancedRenderable";
// A component read from a file looks its resources up at once.
constexpr auto kResolve = [](InstancedRenderable& c) { c.ResolveResources(); };

} // namespace

InstancedRenderableManager& InstancedRenderableManager::GetInstance()
{
    static InstancedRenderableManager manager;
    return manager;
}

void InstancedRenderableManager::RemoveComponent(EntityHandle entity)
{
    mComponents.erase(entity);
}

bool InstancedRenderableManager::HasComponent(EntityHandle entity) const
{
    return mComponents.contains(entity);
}

void InstancedRenderableManager::Clear()
{
    mComponents.clear();
}

RenderCompRef<InstancedRenderable> InstancedRenderableManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    return {entity, &mComponents.try_emplace(entity).first->second};
}

InstancedRenderable* InstancedRenderableManager::GetCompPtr(EntityHandle entity)
{
    auto found = mComponents.find(entity);
    return found == mComponents.end() ? nullptr : &found->second;
}

void InstancedRenderableManager::Render(int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw();
}

void InstancedRenderableManager::Render(const ShaderProgram& shader, int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(shader);
}

void InstancedRenderableManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mComponents);
}

void InstancedRenderableManager::Load(const nlohmann::json& document)
{
    ComponentSection::Load<InstancedRenderableProperties>(document, kSection, mComponents, kResolve);
}

void InstancedRenderableManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::SaveEntity(value, kEntityKey, mComponents, entity);
}

void InstancedRenderableManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::LoadEntity<InstancedRenderableProperties>(value, kEntityKey, mComponents, entity, kResolve);
}

} // namespace Engine
