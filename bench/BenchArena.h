#pragma once
// The full default arena as the benchmarks build it. Run from the build
// folder: the palettes are read from data/.
#include "engine/core/FrameRateController.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "game/components/ImmovableTile.h"
#include "game/match/GridCreation.h"
#include "game/match/HexGrid.h"
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
