#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>

#include "tools/art/NormalMap.h"
#include "tools/art/Noise.h"
#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"
#include "tools/art/TextureJob.h"
#include "tools/art/TileTextures.h"

namespace Art {
namespace {

Canvas White()
{
    return Canvas(8, 8, Colour(1.0f));
}

// Distance from the picture's centre in units of its half-size.
float RadiusAt(const Canvas& canvas, int x, int y)
{
    const glm::vec2 half(canvas.Width() * 0.5f, canvas.Height() * 0.5f);
    return glm::length((glm::vec2(x + 0.5f, y + 0.5f) - half) / half);
}

// White with all the shape in the alpha, so that particles take any tint.
template <class Alpha>
Canvas WhiteWithAlpha(int width, int height, Alpha alpha)
{
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas.At(x, y) = Colour(1.0f, 1.0f, 1.0f, std::clamp(alpha(canvas, x, y), 0.0f, 1.0f));
    return canvas;
}

Canvas Point()
{
    return WhiteWithAlpha(64, 64, [](const Canvas& c, int x, int y) {
        const float t = std::clamp(1.0f - RadiusAt(c, x, y), 0.0f, 1.0f);
        return t * t * (3.0f - 2.0f * t);
    });
}

Canvas Line()
{
    return WhiteWithAlpha(256, 16, [](const Canvas& c, int x, int y) {
        const float across = (y + 0.5f - c.Height() * 0.5f) / 3.0f;
        const float ends = std::min({ (x + 0.5f) / 12.0f, (c.Width() - x - 0.5f) / 12.0f, 1.0f });
        return std::exp(-across * across) * ends;
    });
}

// A glowing core with four faint rays.
Canvas Particle()
{
    return WhiteWithAlpha(128, 128, [](const Canvas& c, int x, int y) {
        const float r = RadiusAt(c, x, y);
        const glm::vec2 p = (glm::vec2(x + 0.5f, y + 0.5f) - 64.0f) / 64.0f;
        const float core = std::exp(-r * r * 28.0f);
        const float halo = std::pow(std::clamp(1.0f - r, 0.0f, 1.0f), 2.5f) * 0.45f;
        const float rays = (std::exp(-p.y * p.y * 900.0f) + std::exp(-p.x * p.x * 900.0f)) * std::clamp(1.0f - r, 0.0f, 1.0f) * 0.6f;
        return core + halo + rays;
    });
}

Canvas FlatNormal()
{
    return Canvas(4, 4, EncodeNormal(glm::vec3(0.0f, 0.0f, 1.0f)));
}

// Wrapped around the ball as longitude (u) and latitude (v): a pale shell
// with a dimpled lattice and one closed seam winding round the equator.
Canvas BallSurface()
{
    const int w = 512, h = 256;
    Canvas canvas(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w;
            const float v = 1.0f - (y + 0.5f) / h;
            const float seamV = 0.5f + 0.2f * std::sin(2.0f * glm::two_pi<float>() * u);
            const float fromSeam = std::fabs(v - seamV) * h; // pixels
            const float seam = std::clamp(2.5f - fromSeam, 0.0f, 1.0f);
            const bool stitchOn = std::fmod(u * 96.0f, 1.0f) < 0.5f;
            const float stitches = stitchOn ? std::clamp(1.5f - std::fabs(fromSeam - 6.0f), 0.0f, 1.0f) : 0.0f;
            // Dimples on a staggered lattice, 64 round the equator and 32 from pole to pole.
            const float gx = u * 64.0f, gy = v * 32.0f;
            const float row = std::floor(gy);
            const glm::vec2 cell(std::fmod(gx + (static_cast<int>(row) % 2) * 0.5f, 1.0f) - 0.5f, gy - row - 0.5f);
            const float dimple = std::clamp(1.0f - glm::length(cell) / 0.3f, 0.0f, 1.0f);
            const float grain = (Noise::Value(glm::vec2(u * 40.0f, v * 20.0f), 5, 40) - 0.5f) * 0.04f;
            float grey = 0.93f - 0.1f * dimple * dimple + grain;
            grey = grey + (0.3f - grey) * seam;
            grey = grey + (0.75f - grey) * stitches;
            canvas.At(x, y) = Colour(grey, grey, grey * 0.97f, 1.0f);
        }
    }
    return canvas;
}

// Distance from p to the nearest edge of a pointy-top hexagon lattice with
// inner radius 0.5; repeats every 1 in x and every sqrt(3) in y.
float HexLatticeEdge(glm::vec2 p)
{
    const glm::vec2 s(1.0f, 1.7320508f);
    const glm::vec2 a = p - (glm::floor(p / s) + 0.5f) * s;
    const glm::vec2 b = p - (glm::floor((p - glm::vec2(0.5f, 0.8660254f)) / s) + 0.5f) * s - glm::vec2(0.5f, 0.8660254f);
    const glm::vec2 q = glm::abs(glm::dot(a, a) < glm::dot(b, b) ? a : b);
    return 0.5f - std::max(glm::dot(q, s * 0.5f), q.x);
}

// The force field: bright hexagon edges with a glow, the cells nearly clear.
// Seven cells across and four lattice rows down, so it tiles both ways.
Canvas HexagonGrid()
{
    const int size = 512;
    Canvas canvas(size, size);
    const float columns = 7.0f, rows = 4.0f;
    const float pixelsPerUnit = size / columns;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const glm::vec2 p((x + 0.5f) / size * columns, (y + 0.5f) / size * rows * 1.7320508f);
            const float edge = HexLatticeEdge(p) * pixelsPerUnit;
            const float line = std::clamp(2.5f - edge, 0.0f, 1.0f);
            const float glow = std::exp(-edge / 7.0f) * 0.45f;
            const float alpha = std::min(1.0f, 0.06f + glow + line);
            canvas.At(x, y) = Mix(Colour(0.55f, 0.85f, 1.0f, alpha), Colour(1.0f, 1.0f, 1.0f, alpha), line);
        }
    }
    return canvas;
}

} // namespace

std::vector<TextureJob> SurfaceTextures()
{
    std::vector<TextureJob> jobs = {
        Unlabelled("White.png", White),
        Unlabelled("Point.png", Point),
        Unlabelled("Line.png", Line),
        Unlabelled("Particle.png", Particle),
        Unlabelled("Default_NormalMap.png", FlatNormal),
        Unlabelled("Ball_Bump.psd", BallSurface),
        Unlabelled("HexagonGrid.psd", HexagonGrid),
    };
    for (TextureJob& job : TileTextures())
        jobs.push_back(std::move(job));
    return jobs;
}

} // namespace Art
