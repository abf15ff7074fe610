#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/ArenaRoom.h"

#include <glm/glm.hpp>

class Player_LogicComp;

// The walls and the ceiling as solids for the players. The tiles' own
// colliders hold a body only near their centres, far behind their tops, so
// the game holds its players itself, in one place: once a frame, after
// everything that moves a player or a tile (the logic, the physics, the
// peer's messages) and before the frame is drawn, so that no frame is seen
// from outside the room or from inside a wall's or the ceiling's column.
//
// Only local players of a live match: a peer's player is held by its own
// machine, and a replay shows the places recorded.
namespace PlayerHold {

// Half the player's size along each axis: its feet sit half its scale
// below its centre.
glm::vec3 HalfExtents(Engine::EntityHandle player);

// Where the player's centre may be: the arena's room less its half extents.
ArenaRoom RoomFor(Engine::EntityHandle player);

// Puts the player at the nearest place inside its room and out of the wall
// and ceiling columns, stops its velocity against what it was put back
// from, and moves its view with it.
void Hold(Player_LogicComp& player);

// Holds every local player: the engine frame's step before drawing.
void HoldLocalPlayers();

} // namespace PlayerHold
