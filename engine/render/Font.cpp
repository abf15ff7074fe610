#include "engine/render/Font.h"

#include "engine/render/FontMapping.h"

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
        glyph.texture = UploadBitmap(slot->bitmap);
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
