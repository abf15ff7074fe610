#pragma once
#include "engine/render/Viewport.h"

#include <vector>

namespace Engine {

// Where the bloom's wide halo can reach the picture. The halo is worked out
// at a smaller size and the combine reads it between its four nearest
// texels, so a pixel whose four texels all hold nothing gets nothing from
// it: those parts of the picture are drawn by a build that reads no halo,
// which on the software renderer is most of the combine's cost.
struct HaloCoverage {
    std::vector<ViewportRect> withHalo;
    std::vector<ViewportRect> without;
};

// `lit` holds one flag per halo texel, row by row from the bottom, `haloWidth`
// by `haloHeight`: whether the texel holds anything. The picture
// (`pictureWidth` by `pictureHeight` pixels) is cut into square blocks of
// `block` pixels, each either with the halo or without; the rectangles are
// whole rows of neighbouring blocks alike. A picture the halo misses, or one
// it reaches everywhere, is one rectangle; so is one that would take more
// than `mostRectangles` (each rectangle is a draw of its own).
// `lit` (row by row, `width` by `height`) with every flag also set on the
// texels within `reach` of it across and down: where a blur of that reach,
// across and then down, can hold anything.
std::vector<bool> Dilate(const std::vector<bool>& lit, int width, int height, int reach);

HaloCoverage CoverHalo(const std::vector<bool>& lit, int haloWidth, int haloHeight, int pictureWidth, int pictureHeight,
                       int block, int mostRectangles);

} // namespace Engine
