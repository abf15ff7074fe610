#pragma once
#include <cstdint>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace Art {

// Straight (not premultiplied) RGBA, each channel 0..1.
using Colour = glm::vec4;

// A picture being drawn: row 0 is the top row, as image files store it.
class Canvas {
public:
    Canvas(int width, int height, Colour fill = Colour(0.0f));

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < mWidth && y < mHeight; }

    Colour& At(int x, int y) { return mPixels[Index(x, y)]; }
    const Colour& At(int x, int y) const { return mPixels[Index(x, y)]; }

    // Lays colour over the pixel, covering the given share of it.
    void Blend(int x, int y, const Colour& colour, float coverage);

    // Gives fully transparent pixels the colour of their nearest painted
    // neighbours, so that linear filtering at a shape's rim fades the shape
    // out instead of darkening it towards black.
    void BleedIntoTransparent(int passes);

    // 8-bit RGBA, top row first.
    std::vector<std::uint8_t> ToRgba8() const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * mWidth + x; }

    int mWidth;
    int mHeight;
    std::vector<Colour> mPixels;
};

// Rounds a 0..1 channel to a byte.
std::uint8_t ToByte(float channel);

} // namespace Art
