#include "game/match/TutorialArena.h"

#include "engine/core/SceneManager.h"
#include "game/components/tile/TileHeightStates.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/arena/HexGrid.h"
#include "game/match/ModeSteps.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"

namespace TutorialArena {

std::string RecordingPath(const char* fileName) { return std::string(kFolder) + (fileName ? fileName : ""); }

void BuildSettledScene()
{
    Engine::SceneManager::SetCreation();
    BuildLocalScene();
    SettleTiles();
}

void SettleTiles()
{
    for (const Engine::EntityHandle& tile : HexGrid::GetInstance().tiles) {
        const TileLogicComponent* component =
            tile.IsValid() ? Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile) : nullptr;
        Engine::StateMachine* height = component ? component->HeightMachine() : nullptr;
        if (!height)
            continue;
        // A machine not started yet starts standing still, where the tile
        // was built; a rise under way takes its last step to the resting
        // place.
        auto* rise = height->GetState<TileStartAnimation>();
        if (!height->GetCurrentState())
            height->SetInitialState("TileStay");
        else if (rise && height->GetCurrentState() == rise)
            rise->elapsed = rise->duration;
    }
}

} // namespace TutorialArena
