#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/ArenaRoom.h"

#include <glm/glm.hpp>
#include <span>

class Player_LogicComp;

// The walls, the ceiling and the other players as solids for the players.
// The tiles' own colliders hold a body only near their centres, far behind
// their tops, and the physics cannot keep a player out of a peer's player
// that the peer's records move, so the game holds its players itself, in
// one place: once a frame, after everything that moves a player or a tile
// (the logic, the physics, the peer's messages) and before the frame is
// drawn and the player's state is sent to the peer, so that no frame is
// seen from outside the room, from inside a wall's or the ceiling's column
// or from inside another player.
//
// Only local players of a live match: a peer's player is held by its own
// machine, and a replay shows the places recorded.
namespace PlayerHold {

// Half the player's size along each axis: its feet sit half its scale
// below its centre.
glm::vec3 HalfExtents(Engine::EntityHandle player);

// Where the player's centre may be: the arena's room less its half extents.
ArenaRoom RoomFor(Engine::EntityHandle player);

// Puts the player at the nearest place inside its room, out of the wall
// and ceiling columns and out of the bodies of the other players given
// (itself among them is passed over), stops its velocity against what it
// was put back from, and moves its view with it. The player takes the
// whole push: another player's body is moved by its own hold, or by its
// own machine. Then what waited for the held place is done.
void Hold(Player_LogicComp& player, std::span<const Engine::EntityHandle> others = {});

// Holds every local player out of every other player, local or the
// peer's: the engine frame's step before drawing.
void HoldLocalPlayers();

// The physics' rule for a touching pair: a peer's player pushes no player
// here and no player pushes it. The peer's records place it, and pushed by
// its full mass a local player would be shoved far off; the hold keeps the
// local player out of it instead.
bool PushesInPhysics(Engine::EntityHandle a, Engine::EntityHandle b);

} // namespace PlayerHold
