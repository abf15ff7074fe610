#pragma once
#include "engine/core/EntityHandle.h"

#include <cstdint>
#include <glm/glm.hpp>

class Player_LogicComp;
class TileLogicComponent;

// What tile bending and the radial mode menu share: the modes, the aim and
// its highlight, the gathered tiles, and what a bend tells the recorder and
// the peer.
namespace PlayerBending {

// The bending modes: the tile two tile widths ahead, two behind, the one
// underfoot, the one in view; and several gathered ones.
enum Mode : std::int32_t { Ahead = 0, Behind = 1, Under = 2, View = 3, Gather = 4 };

// The radial menu's slice of a mode (slices run down, right, up, left);
// -1 for the gathering mode, which the menu does not offer.
int SliceOfMode(std::int32_t mode);

// The first thing a ray meets when it is a floor tile; the null handle
// otherwise.
Engine::EntityHandle TileAlong(const glm::vec3& from, const glm::vec3& direction);

// Switches to a mode. Leaving the gathering mode lets every gathered tile
// go; leaving another mode drops its aim.
void SwitchMode(Player_LogicComp& player, std::int32_t mode);
void LetGoOfGathered(Player_LogicComp& player);

// Aims at a tile (highlighted, its top shown as the camera's selection
// point), or at nothing with the null handle.
void AimAt(Player_LogicComp& player, Engine::EntityHandle tile);

// Sends the bend to the peer once the link and the match set-up are up.
void TellThePeer(TileLogicComponent& tile, std::int32_t level, std::uint32_t direction);

} // namespace PlayerBending
