#include "engine/render/FontRenderCompManager.h"

namespace Engine {

FontRenderCompManager& FontRenderCompManager::GetInstance()
{
    static FontRenderCompManager manager;
    return manager;
}

void FontRenderCompManager::Render(int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(entity);
}

} // namespace Engine
