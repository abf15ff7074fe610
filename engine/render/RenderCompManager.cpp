#include "engine/render/RenderCompManager.h"

namespace Engine {

RenderCompManager& RenderCompManager::GetInstance()
{
    static RenderCompManager manager;
    return manager;
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

} // namespace Engine
