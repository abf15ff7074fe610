#pragma once
#include "engine/core/EntityManager.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "game/arena/HexGrid.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/match/GridCreation.h"
#include "game/match/RegisterLogicTypes.h"
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>

// The whole default arena, built as the title screen builds it: defaults,
// an empty scene, the grid, its components initialised, the border made
// immovable.
class ArenaFixture : public ::testing::Test {
protected:
    // Logic components belong to their manager until the scene goes.
    void TearDown() override
    {
        Engine::SceneManager::SetIdle();
        Engine::SceneManager::DestroySceneImmediately();
    }

    static void BuildArena()
    {
        RegisterLogicTypes();
        GridCreation::SetDefaultSettings();
        Engine::SceneManager::SetIdle();
        Engine::SceneManager::DestroySceneImmediately();
        GridCreation::CreateGrid();
        Engine::LogicManager::GetInstance().InitializeLogicComponents();
        Engine::SceneManager::SetActive();
        for (const auto& edges : HexGrid::GetInstance().edgeTiles)
            for (std::int32_t number : edges)
                Engine::LogicManager::GetInstance().AddComponent<ImmovableTile>(HexGrid::GetInstance().Tile(number));
    }

    static HexGrid& Grid() { return HexGrid::GetInstance(); }
};
