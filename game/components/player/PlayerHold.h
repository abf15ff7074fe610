#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/ArenaRoom.h"
#include "game/components/tile/TileColumns.h"

#include <array>
#include <glm/glm.hpp>
#include <optional>
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

// The player's body has two sizes, both taken from its scale.
//
// Standing, it reaches half its scale each way from its centre: its feet
// sit that far below it. The room and the columns keep its centre that far
// from them.
glm::vec3 StandingHalfExtents(Engine::EntityHandle player);

// In the physics, its box reaches its whole scale each way from its centre
// (the engine's box shapes take the scale as half extents), turned with
// the player: what another player's body meets.
struct PhysicsBox {
    glm::vec3 centre{0.0f};
    std::array<glm::vec3, 3> axes{};
    glm::vec3 half{0.0f};

    // The player's box were its centre at `centre`.
    static PhysicsBox Of(Engine::EntityHandle player, const glm::vec3& centre);
    // How far from its centre the player's box reaches at the most.
    static float Reach(Engine::EntityHandle player);

    // The way out of another player's box when the two overlap: across the
    // face (of either) of least overlap, or up onto the other, never down
    // into the floor. Boxes put side by side may still overlap by a
    // rounding's width, which is touching: none then.
    std::optional<TileColumns::WayOut> WayOutOf(const PhysicsBox& other) const;
};

// Where the player's centre may be: the arena's room less its standing
// half extents.
ArenaRoom RoomFor(Engine::EntityHandle player);

// Puts the player at the nearest place inside its room, out of the wall
// and ceiling columns and out of the bodies of the other players given
// (itself among them is passed over), stops its velocity against what it
// was put back from, and moves its view with it. The player takes the
// whole push: another player's body is moved by its own hold, or by its
// own machine.
void Hold(Player_LogicComp& player, std::span<const Engine::EntityHandle> others = {});

// Holds every local player out of every other player, local or the
// peer's (its component remote, as the physics' rule below tells it): the
// engine frame's step before drawing.
void HoldLocalPlayers();

// The physics' rule for a touching pair: a peer's player pushes no player
// here and no player pushes it. The peer's records place it, and pushed by
// its full mass a local player would be shoved far off; the hold keeps the
// local player out of it instead.
bool PushesInPhysics(Engine::EntityHandle a, Engine::EntityHandle b);

} // namespace PlayerHold
