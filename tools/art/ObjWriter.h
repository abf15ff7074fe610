#pragma once
// Wavefront OBJ as our generator writes it, one object per file:
//
//   # comment lines
//   o <name>
//   v x y z        one per vertex
//   vt u v         one per vertex, v counted from the TOP of the picture
//   vn x y z       one per vertex, unit length
//   f a/a/a b/b/b c/c/c   one per triangle, 1-based, counter-clockwise from outside
//
// The renderer imports models with flipped texture coordinates and flips
// pictures on load as well; storing v from the top makes the two flips
// cancel, so v = 0 ends up at the bottom of the picture.
#include <string>

#include "tools/art/Mesh.h"

namespace Art {

std::string WriteObj(const Mesh& mesh, const std::string& name);

} // namespace Art
