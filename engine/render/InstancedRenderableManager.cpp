#include "engine/render/InstancedRenderableManager.h"

namespace Engine {

InstancedRenderableManager& InstancedRenderableManager::GetInstance()
{
    static InstancedRenderableManager manager;
    return manager;
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

void InstancedRenderableManager::Render(const ShaderProgram& shader, int cameraIndex, const ViewVolume& view)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(shader, view);
}

} // namespace Engine
