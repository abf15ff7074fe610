#pragma once
// The full default arena as the benchmarks build it. Run from the build
// folder: the palettes are read from data/.
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/render/CameraManager.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "game/components/player/EnergyLogic.h"
#include "game/components/player/HurtLogic.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"
#include "game/match/GridCreation.h"
#include "game/arena/HexGrid.h"
#include "game/match/RegisterLogicTypes.h"
#include "tests/support/CreepingClock.h"

inline void BuildArena()
{
    RegisterLogicTypes();
    GridCreation::SetDefaultSettings();
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    GridCreation::CreateGrid();
}

// The arena as a match holds it: initialised, the border immovable, every
// tile risen into place.
inline void BuildRestingArena(CreepingClock& clock)
{
    BuildArena();
    Engine::LogicManager::GetInstance().InitializeLogicComponents();
    Engine::SceneManager::SetActive();
    for (const auto& edges : HexGrid::GetInstance().edgeTiles)
        for (std::int32_t number : edges)
            Engine::LogicManager::GetInstance().AddComponent<ImmovableTile>(HexGrid::GetInstance().Tile(number));
    Engine::FrameRateController::SetMaxDt(0.0);
    for (int frame = 0; frame < 320; ++frame) {
        clock.Advance(10);
        Engine::FrameRateController::EndFrame();
        Engine::LogicManager::GetInstance().Update();
    }
}

// A player as the spawner builds it (without sounds or HUDs), initialised.
inline Engine::EntityHandle SpawnBenchPlayer(const glm::vec3& at)
{
    Engine::SceneManager::SetIdle();
    const Engine::EntityHandle player = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(player);
    Engine::Transform::PositionRef(player) = at;
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(player);
    body.mCollisionShape.value = Engine::ShapeOBB;
    body.mDrag.value = 0.9f;
    body.mGravity.value *= 200.0f;
    Engine::CameraManager::GetInstance().AddComponent(player);
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<Player_LogicComp>(player);
    Engine::LogicManager::GetCompPtr<Player_LogicComp>(player)->mRemote = false;
    logic.AddComponent<Engine::SMComponent>(player);
    logic.AddComponent<Player_Movement>(player);
    logic.AddComponent<Energy_Logic>(player);
    logic.AddComponent<Hurt_Logic>(player);
    for (Engine::LogicComp* component : *logic.FindComponents(player))
        component->Initialize();
    Engine::SceneManager::SetActive();
    return player;
}
