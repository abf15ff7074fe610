#include "game/match/RegisterLogicTypes.h"

#include "engine/logic/LogicTypeRegistration.h"
#include "engine/logic/SMComponent.h"

// The order is the factory table's; later rows arrive with their components.
void RegisterLogicTypes()
{
    Engine::RegisterLogicType<Engine::LogicComp>();
    Engine::RegisterLogicType<Engine::SMComponent>();
}
