#pragma once
#include <GL/glew.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <map>

namespace Engine {

// One rasterised character: a red-only texture and its metrics in pixels.
struct Glyph {
    GLuint texture = 0;
    int width = 0;
    int rows = 0;
    int bearingX = 0;
    int bearingY = 0;
    // Horizontal advance in 1/64 pixel.
    unsigned advance = 0;
};

// A font face rasterised once: every character code below the face's glyph
// count that FreeType can render becomes one texture.
class Font {
public:
    // Mode 0 keys each glyph by its own code; mode 1 re-keys it through the
    // font mapping (codes outside the source go under '!'). A file that
    // cannot be opened gives a font without glyphs, and a line on stderr.
    Font(FT_Library library, const char* path, unsigned pixelWidth, unsigned pixelHeight, int mappingMode);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::map<char16_t, Glyph>& Glyphs() const { return mGlyphs; }
    // The glyph of a character, or null when the font has none for it.
    const Glyph* Find(char16_t code) const;
    // The opened face, or null.
    FT_Face Face() const { return mFace; }

private:
    void StoreGlyph(char16_t code, const Glyph& glyph, int mappingMode);

    FT_Face mFace = nullptr;
    std::map<char16_t, Glyph> mGlyphs;
};

} // namespace Engine
