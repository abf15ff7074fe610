#include "tools/art/Canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Art {

Canvas::Canvas(int width, int height, Colour fill)
    : mWidth(width)
    , mHeight(height)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a canvas needs a positive size");
    mPixels.assign(static_cast<std::size_t>(width) * height, fill);
}

void Canvas::Blend(int x, int y, const Colour& colour, float coverage)
{
    if (!Contains(x, y))
        return;
    const float a = std::clamp(colour.a * coverage, 0.0f, 1.0f);
    if (a <= 0.0f)
        return;
    Colour& under = At(x, y);
    const float outAlpha = a + under.a * (1.0f - a);
    const glm::vec3 mixed = (glm::vec3(colour) * a + glm::vec3(under) * under.a * (1.0f - a)) / outAlpha;
    under = Colour(mixed, outAlpha);
}

void Canvas::BleedIntoTransparent(int passes)
{
    static const int kOffsets[8][2] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 }, { -1, -1 }, { 1, -1 }, { -1, 1 }, { 1, 1 } };
    std::vector<char> filled(mPixels.size());
    for (std::size_t i = 0; i < mPixels.size(); ++i)
        filled[i] = mPixels[i].a > 0.0f;
    for (int pass = 0; pass < passes; ++pass) {
        std::vector<char> next = filled;
        for (int y = 0; y < mHeight; ++y) {
            for (int x = 0; x < mWidth; ++x) {
                if (filled[Index(x, y)])
                    continue;
                glm::vec3 sum(0.0f);
                int count = 0;
                for (const auto& o : kOffsets) {
                    const int nx = x + o[0], ny = y + o[1];
                    if (Contains(nx, ny) && filled[Index(nx, ny)]) {
                        sum += glm::vec3(At(nx, ny));
                        ++count;
                    }
                }
                if (count > 0) {
                    At(x, y) = Colour(sum / static_cast<float>(count), 0.0f);
                    next[Index(x, y)] = 1;
                }
            }
        }
        filled.swap(next);
    }
}

std::uint8_t ToByte(float channel)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

std::vector<std::uint8_t> Canvas::ToRgba8() const
{
    std::vector<std::uint8_t> bytes(mPixels.size() * 4);
    for (std::size_t i = 0; i < mPixels.size(); ++i)
        for (int c = 0; c < 4; ++c)
            bytes[i * 4 + c] = ToByte(mPixels[i][c]);
    return bytes;
}

} // namespace Art
