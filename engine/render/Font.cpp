#include "engine/render/Font.h"

#include "engine/render/FontMapping.h"

#include FT_BITMAP_H

#include <algorithm>
#include <cstdio>

namespace Engine {

namespace {

GLuint UploadBitmap(const FT_Bitmap& bitmap)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows), 0,
                 GL_RED, GL_UNSIGNED_BYTE, bitmap.buffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

// GL reads a glyph as rows of one byte a pixel, exactly as wide as the
// glyph. Outlines render so; a bitmap font's glyphs may be one bit a pixel,
// fewer grey levels or padded rows, which read that way run past the end of
// the bitmap. Those are converted to full bytes first; 0 when FreeType
// cannot convert one.
GLuint UploadGlyph(FT_Library library, const FT_Bitmap& bitmap)
{
    // An empty bitmap (a space) has nothing to read, whatever its mode.
    const bool empty = bitmap.width == 0 || bitmap.rows == 0;
    if (empty || (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256 &&
                  bitmap.pitch == static_cast<int>(bitmap.width)))
        return UploadBitmap(bitmap);
    FT_Bitmap bytes;
    FT_Bitmap_Init(&bytes);
    GLuint texture = 0;
    if (FT_Bitmap_Convert(library, &bitmap, &bytes, 1) == 0 && bytes.num_grays >= 2) {
        const unsigned top = bytes.num_grays - 1u;
        const std::size_t size = static_cast<std::size_t>(bytes.pitch) * bytes.rows;
        for (std::size_t i = 0; i < size; ++i)
            bytes.buffer[i] = static_cast<unsigned char>(std::min(bytes.buffer[i] * 255u / top, 255u));
        texture = UploadBitmap(bytes);
    }
    FT_Bitmap_Done(library, &bytes);
    return texture;
}

} // namespace

Font::Font(FT_Library library, const char* path, unsigned pixelWidth, unsigned pixelHeight, int mappingMode)
{
    if (!library || FT_New_Face(library, path, 0, &mFace) != 0) {
        mFace = nullptr;
        std::fprintf(stderr, "Font \"%s\" could not be opened: its text draws nothing\n", path);
        return;
    }
    FT_Select_Charmap(mFace, FT_ENCODING_UNICODE);
    FT_Set_Pixel_Sizes(mFace, pixelWidth, pixelHeight);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    // The glyph count bounds the codes tried; keys are 16-bit.
    FT_Long limit = std::min<FT_Long>(mFace->num_glyphs, 0x10000);
    for (FT_Long c = 0; c < limit; ++c) {
        if (FT_Load_Char(mFace, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot slot = mFace->glyph;
        Glyph glyph;
        glyph.texture = UploadGlyph(library, slot->bitmap);
        if (glyph.texture == 0)
            continue;
        glyph.width = static_cast<int>(slot->bitmap.width);
        glyph.rows = static_cast<int>(slot->bitmap.rows);
        glyph.bearingX = slot->bitmap_left;
        glyph.bearingY = slot->bitmap_top;
        glyph.advance = static_cast<unsigned>(slot->advance.x);
        StoreGlyph(static_cast<char16_t>(c), glyph, mappingMode);
    }
}

void Font::StoreGlyph(char16_t code, const Glyph& glyph, int mappingMode)
{
    char16_t key = code;
    if (mappingMode == 1) {
        const std::u16string& source = FontMappingSource();
        const std::u16string& target = FontMappingTarget();
        std::size_t k = source.find(code);
        // A source position without a target character falls back like an
        // unmapped code instead of reading past the target string.
        key = (k != std::u16string::npos && k < target.size()) ? target[k] : u'!';
    } else if (mappingMode != 0) {
        glDeleteTextures(1, &glyph.texture);
        return;
    }
    if (!mGlyphs.emplace(key, glyph).second)
        glDeleteTextures(1, &glyph.texture);
}

const Glyph* Font::Find(char16_t code) const
{
    auto found = mGlyphs.find(code);
    return found == mGlyphs.end() ? nullptr : &found->second;
}

Font::~Font()
{
    for (auto& [code, glyph] : mGlyphs)
        glDeleteTextures(1, &glyph.texture);
    if (mFace)
        FT_Done_Face(mFace);
}

} // namespace Engine
