#include "game/components/PlayerFrame.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/render/CameraManager.h"

namespace PlayerFrame {

Engine::GameCamera* CameraOf(Engine::EntityHandle entity)
{
    Engine::CameraManager& cameras = Engine::CameraManager::GetInstance();
    return entity.IsNull() || !cameras.HasComponent(entity) ? nullptr : cameras.GetCompPtr(entity);
}

Engine::CollisionComp* BodyOf(Engine::EntityHandle entity)
{
    return Engine::CollisionMgr::GetInstance().FindComp(entity);
}

} // namespace PlayerFrame
