#include "engine/render/HUDCompManager.h"

namespace Engine {

HUDCompManager& HUDCompManager::GetInstance()
{
    static HUDCompManager manager;
    return manager;
}

void HUDCompManager::Clear()
{
    for (const auto& [entity, component] : mComponents)
        entity.Destroy();
    mComponents.clear();
}

void HUDCompManager::Render(int cameraIndex)
{
    for (auto& [entity, component] : mComponents)
        if (component.IsSeenBy(cameraIndex))
            component.Draw(entity);
}

} // namespace Engine
