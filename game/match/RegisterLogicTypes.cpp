#include "game/match/RegisterLogicTypes.h"

#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/logic/LogicTypeRegistration.h"
#include "engine/logic/SMComponent.h"
#include "game/components/AudioLogic.h"
#include "game/components/ColourCollider.h"
#include "game/components/CrashingTile.h"
#include "game/components/GoalTile.h"
#include "game/components/ImmovableTile.h"
#include "game/components/TileLogicComponent.h"

// The order is the factory table's; later rows arrive with their components.
void RegisterLogicTypes()
{
    Engine::RegisterLogicType<Engine::LogicComp>();
    Engine::RegisterLogicType<Engine::SMComponent>();
    Engine::RegisterLogicType<TileLogicComponent>();
    Engine::RegisterLogicType<ColourCollider>();
    Engine::RegisterLogicType<GoalTile>();
    Engine::RegisterLogicType<ImmovableTile>();
    Engine::RegisterLogicType<CrashingTile>();
    Engine::RegisterLogicType<Engine::Emitter>();
    Engine::RegisterLogicType<Engine::Listener>();
    Engine::RegisterLogicType<AudioLogic>();
}
