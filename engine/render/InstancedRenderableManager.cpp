#include "engine/render/InstancedRenderableManager.h"

#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "InstancedRenderable";
constexpr const char* kEntityKey = "InstancedRenderable";

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

bool InstancedRenderableManager::IsSeenBy(const InstancedRenderable& component, int cameraIndex)
{
    const int target = component.mCameraTarget.value;
    return target == -1 || target == cameraIndex || cameraIndex == -1;
}

void InstancedRenderableManager::Render(int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (IsSeenBy(component, cameraIndex))
            component.Draw();
}

void InstancedRenderableManager::Render(const ShaderProgram& shader, int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (IsSeenBy(component, cameraIndex))
            component.Draw(shader);
}

void InstancedRenderableManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mComponents);
}

void InstancedRenderableManager::Load(const nlohmann::json& document)
{
    using Properties = InstancedRenderableProperties;
    auto staged = ComponentSection::Stage<Properties>(document, kSection, mComponents);
    ComponentSection::Commit(staged, mComponents, [](EntityHandle, InstancedRenderable& c) { c.ResolveResources(); });
}

void InstancedRenderableManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    auto found = mComponents.find(entity);
    if (found != mComponents.end())
        found->second.GetPropertyMap().ToJson(value[kEntityKey]);
}

void InstancedRenderableManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (entity.IsNull() || !value.is_object() || !value.contains(kEntityKey))
        return;
    auto existing = mComponents.find(entity);
    const InstancedRenderableProperties base =
        existing != mComponents.end() ? existing->second : InstancedRenderableProperties();
    InstancedRenderableProperties read = ComponentSection::ReadValues(base, value.at(kEntityKey), kEntityKey, "");
    InstancedRenderable& stored = mComponents.try_emplace(entity).first->second;
    static_cast<InstancedRenderableProperties&>(stored) = read;
    stored.ResolveResources();
}

} // namespace Engine
