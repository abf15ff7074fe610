#include "tools/art/TileTextures.h"

#include <algorithm>
#include <cmath>

#include "tools/art/NormalMap.h"
#include "tools/art/Noise.h"
#include "tools/art/Shapes.h"

namespace Art {
namespace {

// 256 pixels per world unit on the caps and the sides alike.
constexpr int kTileWidth = 1024;
constexpr int kTileHeight = 512;
constexpr float kPixelsPerUnit = 256.0f;

constexpr float kBevel = 0.09f;        // width of the rounded rim, world units
constexpr float kSeam = 0.012f;        // dark joint along every edge
constexpr float kGrooveAt = 0.2f;      // engraved inner hexagon, inset from the rim
constexpr float kGrooveHalf = 0.012f;
constexpr float kBevelRise = 14.0f;    // pixels
constexpr float kGrooveDepth = 5.0f;

struct TileSample {
    float grey;
    float specular;
    float rise;
};

// 1 inside a band of the given half-width around 0, fading over one pixel.
float Band(float distance, float halfWidth)
{
    const float pixel = 1.0f / kPixelsPerUnit;
    return std::clamp((halfWidth + pixel - std::fabs(distance)) / (2.0f * pixel), 0.0f, 1.0f);
}

float Shoulder(float inset)
{
    const float t = std::clamp(inset / kBevel, 0.0f, 1.0f);
    return 1.0f - (1.0f - t) * (1.0f - t);
}

TileSample SampleCap(glm::vec2 local)
{
    const float inset = std::max(-Shape::Hexagon(local, glm::vec2(0.0f), 1.0f, true), 0.0f);
    const float rise = Shoulder(inset);
    const float seam = Band(inset, kSeam);
    const float groove = Band(inset - kGrooveAt, kGrooveHalf);
    const float grain = (Noise::Value(local * 6.0f, 11) - 0.5f) * 0.05f;

    float grey = 0.62f + 0.30f * rise + grain;
    grey = grey + (0.55f - grey) * groove;
    grey = grey + (0.22f - grey) * seam;
    float specular = 0.35f + 0.5f * (1.0f - rise);
    specular = specular + (0.12f - specular) * groove;
    specular = specular + (0.05f - specular) * seam;
    return { grey, specular, kBevelRise * rise - kGrooveDepth * groove };
}

// across: 0..1 along the side's bottom edge; up: 0..1 bottom to top. A side
// is one unit wide and two units tall.
TileSample SampleSide(float across, float up)
{
    const float fromSide = std::min(across, 1.0f - across);
    const float fromTop = (1.0f - up) * 2.0f;
    const float inset = std::min(fromSide, fromTop);
    const float rise = Shoulder(inset);
    const float seam = Band(inset, kSeam);
    const float stripe = Band(fromTop - 0.3f, 0.02f);
    const float grain = (Noise::Value(glm::vec2(across * 6.0f, up * 12.0f), 23) - 0.5f) * 0.05f;

    // Darker towards the bottom, where the neighbouring tiles shade it.
    float grey = 0.36f + 0.34f * up + 0.12f * rise + grain;
    grey = grey + (0.85f - grey) * stripe;
    grey = grey + (0.22f - grey) * seam;
    float specular = 0.25f + 0.45f * (1.0f - rise) * (fromTop < fromSide ? 1.0f : 0.5f);
    specular = specular + (0.6f - specular) * stripe;
    specular = specular + (0.05f - specular) * seam;
    return { grey, specular, kBevelRise * rise };
}

TileSample SampleTile(int x, int y)
{
    const float u = (static_cast<float>(x) + 0.5f) / kTileWidth;
    const float v = 1.0f - (static_cast<float>(y) + 0.5f) / kTileHeight;
    if (u < 0.5f)
        return SampleCap(glm::vec2((u - 0.25f) / 0.25f, (v - 0.5f) / 0.5f));
    return SampleSide((u - 0.5f) / 0.5f, v);
}

template <class Channel>
Canvas TilePicture(Channel channel)
{
    Canvas canvas(kTileWidth, kTileHeight);
    for (int y = 0; y < kTileHeight; ++y)
        for (int x = 0; x < kTileWidth; ++x)
            canvas.At(x, y) = channel(SampleTile(x, y));
    return canvas;
}

Canvas SharpTile()
{
    return TilePicture([](const TileSample& s) { return Colour(glm::vec3(s.grey), 1.0f); });
}

// The soft variant: the sharp tile through a separable box blur, run twice.
Canvas BlurredTile()
{
    Canvas canvas = SharpTile();
    const int radius = 5;
    for (int pass = 0; pass < 4; ++pass) {
        const bool horizontal = pass % 2 == 0;
        Canvas source = canvas;
        for (int y = 0; y < kTileHeight; ++y) {
            for (int x = 0; x < kTileWidth; ++x) {
                glm::vec4 sum(0.0f);
                for (int k = -radius; k <= radius; ++k) {
                    const int sx = std::clamp(horizontal ? x + k : x, 0, kTileWidth - 1);
                    const int sy = std::clamp(horizontal ? y : y + k, 0, kTileHeight - 1);
                    sum += source.At(sx, sy);
                }
                canvas.At(x, y) = sum / static_cast<float>(2 * radius + 1);
            }
        }
    }
    return canvas;
}

Canvas InvertedTile()
{
    return TilePicture([](const TileSample& s) { return Colour(glm::vec3(1.0f - s.grey), 1.0f); });
}

Canvas TileSpecular()
{
    return TilePicture([](const TileSample& s) { return Colour(glm::vec3(s.specular), 1.0f); });
}

Canvas TileNormals()
{
    HeightField field(kTileWidth, kTileHeight);
    for (int y = 0; y < kTileHeight; ++y)
        for (int x = 0; x < kTileWidth; ++x)
            field.At(x, y) = SampleTile(x, y).rise;
    return NormalMapFrom(field);
}

} // namespace

std::vector<TextureJob> TileTextures()
{
    return {
        Unlabelled("Tile.psd", BlurredTile),
        Unlabelled("TileNoBlur.psd", SharpTile),
        Unlabelled("TileNoBlurInverted.jpg", InvertedTile),
        Unlabelled("Tile_Specular.psd", TileSpecular),
        Unlabelled("Tile_NormalMap.png", TileNormals),
    };
}

} // namespace Art
