#pragma once
#include <vector>

#include "tools/art/TextureJob.h"

namespace Art {

// The floor tile's colour (sharp, blurred and inverted), specular and normal
// maps, laid out for the hexagonal prism's texture coordinates: the caps
// take the left half (a hexagon centred on u = 0.25, v = 0.5), the six
// sides the right half (u 0.5 to 1 across a side, v 0 to 1 bottom to top).
std::vector<TextureJob> TileTextures();

} // namespace Art
