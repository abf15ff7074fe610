// Tile bending and the radial mode menu of the player. Until they are built
// a player bends nothing: no tile is aimed at, raised or lowered, and the
// open menu picks no mode.
#include "game/components/PlayerLogicComp.h"

void Player_LogicComp::UpdateTileBending() {}

void Player_LogicComp::UpdateRadialMenu() {}

bool Player_LogicComp::CanBendTile(Engine::EntityHandle) { return false; }

void Player_LogicComp::RaiseTile(Engine::EntityHandle) {}

void Player_LogicComp::LowerTile(Engine::EntityHandle) {}
