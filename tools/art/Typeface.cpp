#include "tools/art/Typeface.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Art {

Typeface::Typeface(const std::string& path)
{
    if (FT_Init_FreeType(&mLibrary) != 0)
        throw std::runtime_error("FreeType did not start");
    if (FT_New_Face(mLibrary, path.c_str(), 0, &mFace) != 0) {
        FT_Done_FreeType(mLibrary);
        throw std::runtime_error("cannot open the font " + path);
    }
}

Typeface::~Typeface()
{
    FT_Done_Face(mFace);
    FT_Done_FreeType(mLibrary);
}

Mask Typeface::Render(const std::string& text, int pixelHeight) const
{
    FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(std::max(pixelHeight, 1)));

    // FreeType renders into one glyph slot, so the line is laid out twice:
    // once to find the ink's extent around the baseline, once to draw.
    struct Ink {
        int minX = 1 << 30, minY = 1 << 30, maxX = -(1 << 30), maxY = -(1 << 30);
    } ink;
    auto walk = [&](auto&& glyphAt) {
        int pen = 0;
        for (unsigned char c : text) {
            if (FT_Load_Char(mFace, c, FT_LOAD_RENDER) != 0)
                continue;
            const FT_GlyphSlot g = mFace->glyph;
            if (g->bitmap.width > 0 && g->bitmap.rows > 0)
                glyphAt(g, pen + g->bitmap_left, -g->bitmap_top);
            pen += static_cast<int>(g->advance.x >> 6);
        }
    };
    walk([&](FT_GlyphSlot g, int left, int top) {
        ink.minX = std::min(ink.minX, left);
        ink.minY = std::min(ink.minY, top);
        ink.maxX = std::max(ink.maxX, left + static_cast<int>(g->bitmap.width));
        ink.maxY = std::max(ink.maxY, top + static_cast<int>(g->bitmap.rows));
    });

    Mask mask;
    if (ink.maxX <= ink.minX || ink.maxY <= ink.minY)
        return mask;
    mask.width = ink.maxX - ink.minX;
    mask.height = ink.maxY - ink.minY;
    mask.coverage.assign(static_cast<std::size_t>(mask.width) * mask.height, 0.0f);
    walk([&](FT_GlyphSlot g, int left, int top) {
        for (int y = 0; y < static_cast<int>(g->bitmap.rows); ++y) {
            for (int x = 0; x < static_cast<int>(g->bitmap.width); ++x) {
                const float value = g->bitmap.buffer[y * g->bitmap.pitch + x] / 255.0f;
                float& cell = mask.coverage[static_cast<std::size_t>(top + y - ink.minY) * mask.width + (left + x - ink.minX)];
                cell = std::max(cell, value);
            }
        }
    });
    return mask;
}

Mask Dilate(const Mask& mask, int radius)
{
    Mask grown;
    grown.width = mask.width + 2 * radius;
    grown.height = mask.height + 2 * radius;
    grown.coverage.assign(static_cast<std::size_t>(grown.width) * grown.height, 0.0f);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const float c = mask.At(x, y);
            if (c <= 0.0f)
                continue;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    // A brush edge softened by half a pixel keeps the outline smooth.
                    const float edge = std::clamp(static_cast<float>(radius) + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)), 0.0f, 1.0f);
                    float& cell = grown.coverage[static_cast<std::size_t>(y + dy + radius) * grown.width + (x + dx + radius)];
                    cell = std::max(cell, c * edge);
                }
            }
        }
    }
    return grown;
}

void DrawLabel(Canvas& canvas, const Typeface& face, const std::string& text, glm::vec2 centre, int pixelHeight,
    float maxWidth, const LabelStyle& style)
{
    Mask mask = face.Render(text, pixelHeight);
    if (mask.width > maxWidth && mask.width > 0) {
        const int fitted = static_cast<int>(std::floor(pixelHeight * maxWidth / static_cast<float>(mask.width)));
        mask = face.Render(text, fitted);
    }
    if (mask.width == 0)
        return;
    const int left = static_cast<int>(std::lround(centre.x - mask.width * 0.5f));
    const int top = static_cast<int>(std::lround(centre.y - mask.height * 0.5f));
    const int r = style.outlineWidth;
    if (style.shadow.a > 0.0f) {
        const Mask shadow = Dilate(mask, r);
        Stamp(canvas, shadow, left - r, top - r + style.shadowDrop, [&](glm::vec2) { return style.shadow; });
    }
    if (r > 0 && style.outline.a > 0.0f)
        Stamp(canvas, Dilate(mask, r), left - r, top - r, [&](glm::vec2) { return style.outline; });
    Stamp(canvas, mask, left, top, [&](glm::vec2) { return style.fill; });
}

} // namespace Art
