#pragma once
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "tools/art/Canvas.h"

namespace Art {

// Ink coverage of rendered text, 0..1 per pixel, cropped to the ink.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> coverage;

    float At(int x, int y) const { return coverage[static_cast<std::size_t>(y) * width + x]; }
};

// One font file opened through FreeType.
class Typeface {
public:
    explicit Typeface(const std::string& path);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // One line of ASCII text at the given pixel height.
    Mask Render(const std::string& text, int pixelHeight) const;

private:
    FT_Library mLibrary = nullptr;
    FT_Face mFace = nullptr;
};

// The mask grown by a round brush, for outlines and drop shadows.
Mask Dilate(const Mask& mask, int radius);

// Lays the mask onto the canvas with its top-left corner at the given pixel.
template <class Shade>
void Stamp(Canvas& canvas, const Mask& mask, int left, int top, Shade shade)
{
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const float c = mask.At(x, y);
            if (c > 0.0f)
                canvas.Blend(left + x, top + y, shade(glm::vec2(left + x + 0.5f, top + y + 0.5f)), c);
        }
    }
}

struct LabelStyle {
    Colour fill { 1.0f };
    Colour outline { 0.0f, 0.0f, 0.0f, 0.0f };
    int outlineWidth = 0;
    Colour shadow { 0.0f, 0.0f, 0.0f, 0.0f };
    int shadowDrop = 0;
};

// Draws one line centred on `centre`, at `pixelHeight` or smaller so that
// it fits within `maxWidth`.
void DrawLabel(Canvas& canvas, const Typeface& face, const std::string& text, glm::vec2 centre, int pixelHeight,
    float maxWidth, const LabelStyle& style);

} // namespace Art
