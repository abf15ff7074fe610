#include "engine/render/CameraManager.h"

namespace Engine {

CameraManager& CameraManager::GetInstance()
{
    static CameraManager manager;
    return manager;
}

} // namespace Engine
