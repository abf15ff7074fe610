#pragma once
#include "engine/core/EntityHandle.h"

#include <vector>

namespace RadialMenu {

// The slices of a player's radial mode menu, one HUD entity per sector
// ("Radial menu object " + index, shortened to the name length), each
// drawing its sector of a disc 1.5 wide and 1 high at the centre of the
// view, translucent, shown only to the given camera (-1: every camera).
// They start hidden; the player lights the slice of its mode while the
// menu is open. The sector meshes are the renderer's, made once per shape.
std::vector<Engine::EntityHandle> CreateRadialMenu(int slices, int subdivisions, int cameraIndex = -1);

} // namespace RadialMenu
