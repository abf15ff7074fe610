#include "game/components/shared/PlayerFrame.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/render/CameraManager.h"
#include "engine/render/RenderCompManager.h"

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

Engine::StateMachine* MachineAt(Engine::EntityHandle entity, std::size_t position)
{
    const Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(entity);
    if (!machines || machines->GetStateMachines().size() <= position)
        return nullptr;
    return machines->GetStateMachines()[position];
}

Engine::StateMachine* LastMachine(Engine::EntityHandle entity)
{
    const Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(entity);
    if (!machines || machines->GetStateMachines().empty())
        return nullptr;
    return machines->GetStateMachines().back();
}

glm::vec3 PlayerColour(int playerNumber)
{
    return playerNumber % 2 ? glm::vec3(0.0f, 0.0f, 1.0f) : glm::vec3(1.0f, 0.0f, 0.0f);
}

glm::vec3 RenderColourOf(Engine::EntityHandle entity, const glm::vec3& fallback)
{
    const Engine::RenderComp* look = Engine::RenderCompManager::GetInstance().GetCompPtr(entity);
    return look ? look->mDiffuseColor.value : fallback;
}

} // namespace PlayerFrame
