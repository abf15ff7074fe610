#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

namespace {

// Decodes UTF-8 into code points; a malformed sequence yields 0xFFFD.
std::vector<char32_t> DecodeUtf8(const std::string& text)
{
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? lead : (lead & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line))
        lines.push_back(line);
    return lines;
}

// Every character the five languages can need: printable ASCII, the
// Latin-1 letters and marks, and the Cyrillic alphabet with Ё and ё.
std::vector<char32_t> NeededCharacters()
{
    std::vector<char32_t> needed;
    for (char32_t c = 0x20; c <= 0x7E; ++c)
        needed.push_back(c);
    for (char32_t c : { 0xA1, 0xAA, 0xBA, 0xBF })
        needed.push_back(c);
    for (char32_t c = 0xC0; c <= 0xFF; ++c)
        if (c != 0xD7 && c != 0xF7)
            needed.push_back(c);
    for (char32_t c = 0x410; c <= 0x44F; ++c)
        needed.push_back(c);
    needed.push_back(0x401);
    needed.push_back(0x451);
    return needed;
}

TEST(ShippedFontMapping, TwoLinesOfNinetyFiveCharactersKeyedFromAscii)
{
    const std::vector<std::string> lines = Lines("data/font_mapping");
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<char32_t> source = DecodeUtf8(lines[0]);
    const std::vector<char32_t> target = DecodeUtf8(lines[1]);
    // The loader reads at most 95 characters a line; a longer first line
    // would leave it without a target line at all.
    ASSERT_EQ(source.size(), 95u);
    ASSERT_EQ(target.size(), 95u);
    for (std::size_t i = 0; i < source.size(); ++i)
        EXPECT_EQ(source[i], static_cast<char32_t>(0x20 + i));
    for (char32_t c : target) {
        EXPECT_NE(c, 0xFFFDu);
        EXPECT_LE(c, 0xFFFFu); // the loader keeps 16-bit characters
    }
    for (char32_t letter = 0x410; letter <= 0x44F; ++letter)
        EXPECT_NE(std::find(target.begin(), target.end(), letter), target.end()) << std::hex << static_cast<unsigned>(letter);
    EXPECT_EQ(target[1], 0x5Fu); // "!" keeps its place on the keyboard layout: low line
}

// The renderer rasterises character codes 0 up to the face's glyph count,
// so a font serves a character only when the count reaches past its code.
TEST(GeneratedFonts, BothFontsCoverEveryLanguageAndTheLatinOneIsBold)
{
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    for (const char* path : { "data/Font/Amazonas.ttf", "data/Font/DejaVuSans.ttf" }) {
        SCOPED_TRACE(path);
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Face(library, path, 0, &face), 0);
        EXPECT_GT(face->num_glyphs, 0x451);
        for (char32_t c : NeededCharacters())
            EXPECT_NE(FT_Get_Char_Index(face, c), 0u) << "no glyph for U+" << std::hex << static_cast<unsigned>(c);
        if (std::string(path).find("Amazonas") != std::string::npos) {
            EXPECT_TRUE(face->style_flags & FT_STYLE_FLAG_BOLD);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
}

} // namespace
