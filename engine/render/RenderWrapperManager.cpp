#include "engine/render/RenderWrapperManager.h"

namespace Engine {

RenderWrapperManager& RenderWrapperManager::GetInstance()
{
    static RenderWrapperManager manager;
    return manager;
}

} // namespace Engine
