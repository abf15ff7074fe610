#pragma once
#include "engine/render/Viewport.h"

#include <vector>

namespace Engine {

// Where the bloom's wide halo can reach the picture. The halo is worked out
// at a smaller size and the combine reads it between its four nearest
// texels, so a pixel whose four texels all hold nothing gets nothing from
// it; nor does it hold glow of its own, which the halo would spread. Those
// parts of the picture are drawn by a build that reads neither, which on
// the software renderer is most of the combine's cost.
struct HaloCoverage {
    std::vector<ViewportRect> withHalo;
    std::vector<ViewportRect> without;
};

// `lit` (row by row, `width` by `height`) with every flag also set on the
// texels within `reach` of it across and down: where a blur of that reach,
// across and then down, can hold anything.
std::vector<bool> Dilate(const std::vector<bool>& lit, int width, int height, int reach);

// `lit` (row by row, `width` by `height`) for the mean of each `shrink` by
// `shrink` pixels of a picture `pictureWidth` by `pictureHeight`, with the
// texels along its last column and row also set when the picture's last
// pixels across or down were left out of the mean: their glow is unknown.
// Only then may a part the halo misses be taken to hold no glow at all.
void TakeUnmeasuredEdgesAsLit(std::vector<bool>& lit, int width, int height, int pictureWidth, int pictureHeight,
                              int shrink);

// `lit` holds one flag per halo texel, row by row from the bottom, `haloWidth`
// by `haloHeight`: whether the texel holds anything. The picture
// (`pictureWidth` by `pictureHeight` pixels) is cut into square blocks of
// `block` pixels, each either with the halo or without; the rectangles are
// whole rows of neighbouring blocks alike. A picture the halo misses, or one
// it reaches everywhere, is one rectangle; so is one that would take more
// than `mostRectangles` (each rectangle is a draw of its own).
HaloCoverage CoverHalo(const std::vector<bool>& lit, int haloWidth, int haloHeight, int pictureWidth, int pictureHeight,
                       int block, int mostRectangles);

} // namespace Engine
