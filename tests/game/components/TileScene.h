#pragma once
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/ArchetypeRegistry.h"
#include "engine/core/EntityManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/logic/FrameTime.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/FloorTileArchetype.h"
#include "game/match/GridCreation.h"
#include "game/arena/MatchRecorder.h"
#include "game/match/RegisterLogicTypes.h"

#include <gtest/gtest.h>
#include <string>

// Floor tiles made from the arena's own archetype, one by one where a test
// wants them, driven frame by frame with an injected frame time.
class TileScene : public ::testing::Test {
protected:
    static constexpr glm::vec3 kTileScale{2.5f, 40.0f, 2.5f};

    void SetUp() override
    {
        RegisterLogicTypes();
        GridCreation::SetDefaultSettings();
        Engine::SceneManager::SetIdle();
        FloorTileArchetype::CreateFloorTiles(GridCreation::kTileArchetype, kTileScale);
        MatchRecorder::GetInstance().isRecording = 0;
    }
    void TearDown() override
    {
        Engine::SceneManager::SetIdle();
        Engine::SceneManager::DestroySceneImmediately();
    }

    // A floor tile (up +y) whose centre stands at `position`, numbered and
    // initialised; its height machine is already in "TileStay".
    Engine::EntityHandle Tile(const glm::vec3& position, std::uint64_t number = 0,
                              const glm::vec3& up = {0.0f, 1.0f, 0.0f}, const glm::vec3& forward = {0.0f, 0.0f, 1.0f})
    {
        Engine::EntityHandle tile = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::ArchetypeRegistry::GetInstance().LoadArchetype(GridCreation::kTileArchetype, tile);
        Engine::Transform::PositionRef(tile) = position;
        Engine::Transform::UpRef(tile) = up;
        Engine::Transform::ForwardRef(tile) = forward;
        Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(tile);
        Component(tile).mTileNumber = number;
        Engine::SceneManager::SetActive();
        for (Engine::LogicComp* component : *Engine::LogicManager::GetInstance().FindComponents(tile))
            component->Initialize();
        Component(tile).HeightMachine()->Start();
        Component(tile).ColourMachine()->Start();
        // Skips the rise into place, which starts below the place.
        Height(tile).ChangeState("TileStay");
        Height(tile).Update();
        Engine::Transform::PositionRef(tile) = position;
        Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(tile);
        return tile;
    }

    static TileLogicComponent& Component(Engine::EntityHandle tile)
    {
        return *Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile);
    }
    static Engine::StateMachine& Height(Engine::EntityHandle tile) { return *Component(tile).HeightMachine(); }
    static Engine::StateMachine& Colour(Engine::EntityHandle tile) { return *Component(tile).ColourMachine(); }
    static std::string HeightState(Engine::EntityHandle tile) { return Height(tile).GetCurrentState()->GetName(); }
    static Engine::RenderWrapper& Wrapper(Engine::EntityHandle tile)
    {
        return *Engine::RenderWrapperManager::GetInstance().GetCompPtr(tile);
    }
    static glm::vec3 Position(Engine::EntityHandle tile) { return Engine::Transform::GetWorldPosition(tile); }

    // Frames of `milliseconds` each through every logic component.
    void Frames(int count, std::uint64_t milliseconds = 10)
    {
        for (int i = 0; i < count; ++i) {
            time.Frame(milliseconds);
            Engine::LogicManager::GetInstance().Update();
        }
    }

    InjectedFrameTime time;
};
