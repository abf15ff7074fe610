#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

#include <glm/common.hpp>

#include "tools/art/Canvas.h"

namespace Art {

// A rectangle of pixels, x0/y0 included, x1/y1 excluded.
struct PixelBox {
    int x0, y0, x1, y1;
};

inline PixelBox WholeOf(const Canvas& canvas) { return { 0, 0, canvas.Width(), canvas.Height() }; }

// The pixels a shape centred at c reaching halfSize out can touch, with a
// margin for its anti-aliased rim and any glow.
inline PixelBox Around(glm::vec2 c, glm::vec2 halfSize, float margin = 2.0f)
{
    return { static_cast<int>(std::floor(c.x - halfSize.x - margin)), static_cast<int>(std::floor(c.y - halfSize.y - margin)),
        static_cast<int>(std::ceil(c.x + halfSize.x + margin)) + 1, static_cast<int>(std::ceil(c.y + halfSize.y + margin)) + 1 };
}

// The pixels a polygon can touch, with the same margin.
inline PixelBox BoundsOf(const std::vector<glm::vec2>& corners, float margin = 2.0f)
{
    glm::vec2 low(1e9f), high(-1e9f);
    for (const glm::vec2& c : corners) {
        low = glm::min(low, c);
        high = glm::max(high, c);
    }
    return Around((low + high) * 0.5f, (high - low) * 0.5f, margin);
}

// Visits every pixel of the box that lies on the canvas, with its centre.
template <class Visit>
void ForEachPixel(const Canvas& canvas, PixelBox box, Visit visit)
{
    const int x0 = std::max(box.x0, 0), y0 = std::max(box.y0, 0);
    const int x1 = std::min(box.x1, canvas.Width()), y1 = std::min(box.y1, canvas.Height());
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x)
            visit(x, y, glm::vec2(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
    }
}

// Paints a shape given by its signed distance (pixels) with a colour that
// may vary over the picture; a pixel half inside the outline gets half
// coverage, which is all the anti-aliasing we need.
template <class Distance, class Shade>
void Paint(Canvas& canvas, PixelBox box, Distance distance, Shade shade)
{
    ForEachPixel(canvas, box, [&](int x, int y, glm::vec2 p) {
        const float coverage = std::clamp(0.5f - distance(p), 0.0f, 1.0f);
        if (coverage > 0.0f)
            canvas.Blend(x, y, shade(p), coverage);
    });
}

template <class Distance>
void Fill(Canvas& canvas, PixelBox box, Distance distance, const Colour& colour)
{
    Paint(canvas, box, distance, [&](glm::vec2) { return colour; });
}

// A soft halo that fades out over `reach` pixels outside the shape.
template <class Distance>
void Glow(Canvas& canvas, PixelBox box, Distance distance, const Colour& colour, float reach)
{
    ForEachPixel(canvas, box, [&](int x, int y, glm::vec2 p) {
        const float t = std::clamp(1.0f - std::max(distance(p), 0.0f) / reach, 0.0f, 1.0f);
        if (t > 0.0f)
            canvas.Blend(x, y, colour, t * t);
    });
}

// Linear blend between two colours.
inline Colour Mix(const Colour& a, const Colour& b, float t)
{
    return a + (b - a) * std::clamp(t, 0.0f, 1.0f);
}

inline Colour Rgb(int r, int g, int b, float alpha = 1.0f)
{
    return Colour(static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, alpha);
}

} // namespace Art
