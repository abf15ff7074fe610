#include "game/components/tile/GoalTile.h"

Engine::TypeNode* GoalTile::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<GoalTile, Engine::LogicComp>();
}
