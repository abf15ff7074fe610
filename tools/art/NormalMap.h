#pragma once
#include <vector>

#include <glm/vec3.hpp>

#include "tools/art/Canvas.h"

namespace Art {

// Heights over a picture, row 0 at the top, in pixels of rise.
struct HeightField {
    int width = 0;
    int height = 0;
    std::vector<float> rise;

    HeightField(int w, int h)
        : width(w)
        , height(h)
        , rise(static_cast<std::size_t>(w) * h, 0.0f)
    {
    }
    float& At(int x, int y) { return rise[static_cast<std::size_t>(y) * width + x]; }
    // Reads past the border repeat the edge pixel.
    float Clamped(int x, int y) const;
};

// A tangent-space normal as a colour: each axis -1..1 to 0..1, so a flat
// surface (0, 0, 1) is (128, 128, 255) in bytes.
Colour EncodeNormal(const glm::vec3& normal);

// Tangent-space normals of the height field. Texture v runs up the picture
// (the renderer flips images on load), so green grows towards the top row.
Canvas NormalMapFrom(const HeightField& field);

} // namespace Art
