#include "FrameTestScene.h"
#include "engine/render/FontMapping.h"
#include "engine/render/FontRenderCompManager.h"
#include "engine/render/GlyphQuad.h"
#include "support/TempDir.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <vector>

namespace {

using Engine::EntityHandle;
using Engine::FontRenderCompManager;
using Engine::Glyph;

bool SameMetrics(const Glyph& a, const Glyph& b)
{
    return a.width == b.width && a.rows == b.rows && a.bearingX == b.bearingX && a.bearingY == b.bearingY
           && a.advance == b.advance;
}

TEST(GlyphQuads, SitOnTheBaselineAt27PixelsPerUnitAndAdvanceByWholePixels)
{
    Glyph glyph;
    glyph.width = 27;
    glyph.rows = 54;
    glyph.bearingX = 27;
    glyph.bearingY = 27;
    glyph.advance = 54 * 64 + 63; // the fraction of a pixel is dropped
    const std::array<glm::vec4, 6> quad = Engine::GlyphQuad(glyph, 3.0f);
    // x from pen + 1 to pen + 2; y from -1 (below the baseline) to +1.
    EXPECT_EQ(quad[0], glm::vec4(4.0f, 1.0f, 0.0f, 0.0f));
    EXPECT_EQ(quad[1], glm::vec4(4.0f, -1.0f, 0.0f, 1.0f));
    EXPECT_EQ(quad[2], glm::vec4(5.0f, -1.0f, 1.0f, 1.0f));
    EXPECT_EQ(quad[3], quad[0]);
    EXPECT_EQ(quad[4], quad[2]);
    EXPECT_EQ(quad[5], glm::vec4(5.0f, 1.0f, 1.0f, 0.0f));
    EXPECT_FLOAT_EQ(Engine::GlyphAdvance(glyph), 2.0f);
}

struct Fonts : FrameTestScene {
    FT_Library Library() const { return renderer.FreeType(); }
};

TEST_F(Fonts, ModeZeroHoldsOneGlyphPerCodeBelowTheGlyphCount)
{
    for (const char* name : {"Latin", "Cyrillic"}) {
        const Engine::Font& font = *renderer.fonts.Find(name);
        ASSERT_NE(font.Face(), nullptr) << name;
        const auto count = static_cast<std::size_t>(font.Face()->num_glyphs);
        EXPECT_EQ(font.Glyphs().size(), count) << name;
        EXPECT_EQ(font.Glyphs().rbegin()->first, count - 1) << name;
    }
}

TEST_F(Fonts, ModeOneRekeysGlyphsThroughTheMappingAndAMissingFileSaysSo)
{
    const Engine::Font plain(Library(), "data/Font/DejaVuSans.ttf", 0, 16, 0);
    Engine::FontMappingSource() = u"qwe";
    Engine::FontMappingTarget() = u"йц";
    const Engine::Font mapped(Library(), "data/Font/DejaVuSans.ttf", 0, 16, 1);
    ASSERT_NE(mapped.Find(u'й'), nullptr);
    EXPECT_TRUE(SameMetrics(*mapped.Find(u'й'), *plain.Find(u'q')));
    EXPECT_TRUE(SameMetrics(*mapped.Find(u'ц'), *plain.Find(u'w')));
    // Code 0 is first of everything outside the source, so '!' keeps its
    // glyph; 'e' has no target and falls back there without reading past
    // the target string.
    ASSERT_NE(mapped.Find(u'!'), nullptr);
    EXPECT_TRUE(SameMetrics(*mapped.Find(u'!'), *plain.Find(u'\0')));
    EXPECT_EQ(mapped.Glyphs().size(), 3u);

    testing::internal::CaptureStderr();
    const Engine::Font missing(Library(), "data/Font/NoSuchFont.ttf", 0, 48, 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("NoSuchFont.ttf"), std::string::npos) << said;
    EXPECT_TRUE(missing.Glyphs().empty());
}

// A bitmap font's glyphs are one bit a pixel: read as bytes they ran past
// the end of the bitmap and drew garbage.
TEST_F(Fonts, OneBitGlyphsOfABitmapFontUploadAsFullBytes)
{
    ScopedTempDir dir;
    std::ofstream("box.bdf") << "STARTFONT 2.1\nFONT box\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\n"
                                "CHARS 1\nSTARTCHAR box\nENCODING 0\nSWIDTH 500 0\nDWIDTH 8 0\nBBX 8 8 0 0\n"
                                "BITMAP\nFF\n81\n81\n81\n81\n81\n81\nFF\nENDCHAR\nENDFONT\n";
    const Engine::Font font(Library(), "box.bdf", 0, 48, 0);
    const Glyph* box = font.Find(u'\0');
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->width, 8);
    ASSERT_EQ(box->rows, 8);
    std::vector<unsigned char> texels(64);
    glBindTexture(GL_TEXTURE_2D, box->texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_UNSIGNED_BYTE, texels.data());
    std::vector<unsigned char> expected(64, 0);
    for (int i = 0; i < 8; ++i)
        for (int at : {i, 56 + i, 8 * i, 8 * i + 7})
            expected[static_cast<std::size_t>(at)] = 255;
    EXPECT_EQ(texels, expected);
}

// Text components come from scene or archetype loads.
struct TextScene : FrameTestScene {
    Engine::FontRenderComp& Text(const glm::vec2& at, const char* font, const std::u16string& text)
    {
        const EntityHandle entity = Place({at, 0.0f});
        const nlohmann::json archetype = {{"FontRenderable", {{"mFontName", font}, {"mCameraTarget", -1}}}};
        FontRenderCompManager::GetInstance().LoadEntity(archetype, entity);
        Engine::FontRenderComp& component = *FontRenderCompManager::GetInstance().GetCompPtr(entity);
        component.text = text;
        return component;
    }

    // Pixels brighter than mid grey in a window rectangle.
    static int LitPixels(int x, int y, int w, int h)
    {
        std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        int lit = 0;
        for (std::size_t i = 0; i < rgb.size(); i += 3)
            lit += rgb[i] + rgb[i + 1] + rgb[i + 2] > 384;
        return lit;
    }
};

TEST_F(TextScene, TheCyrillicFontDrawsCyrillicTextAndSkipsWhatItLacks)
{
    AddCamera({0, 0, 10}, {0, 0, 0});
    Engine::FontRenderComp& text = Text({-3.0f, 0.0f}, "Cyrillic", u"ЖЖ");
    const std::size_t glyphs = text.font->Glyphs().size();

    renderer.Render();
    // One unit of canvas is 72 pixels; each 48-pixel Ж is about 1.3 units
    // wide and stands on the baseline at the window's middle.
    const int first = LitPixels(640 - 216, 360, 90, 120);
    const int second = LitPixels(640 - 216 + 95, 360, 90, 120);
    EXPECT_GT(first, 400);
    EXPECT_GT(second, 400);
    EXPECT_LT(LitPixels(640 - 216, 360 - 120, 200, 100), 50) << "nothing below the baseline";

    // A character past the font's glyphs adds nothing and moves nothing.
    text.text = u"Ж\uFFFFЖ";
    renderer.Render();
    EXPECT_EQ(LitPixels(640 - 216 + 95, 360, 90, 120), second);
    EXPECT_EQ(text.font->Glyphs().size(), glyphs);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(TextScene, LoadedTextShowsTheSampleUntilSetAndFollowsItsCameraTarget)
{
    Engine::GameCamera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    const EntityHandle entity = Place({-3.0f, 0.0f, 0.0f});
    FontRenderCompManager& texts = FontRenderCompManager::GetInstance();
    texts.Load({{"FontRenderables",
                 {{{"handle", entity.GetIndex()},
                   {"values", {{"mFontName", "Latin"}, {"mCameraTarget", 1}, {"mTextColor", {{"x", 1}, {"y", 0}, {"z", 0}}}}}}}}});
    const Engine::FontRenderComp& text = *texts.GetCompPtr(entity);
    EXPECT_EQ(text.text, u"Sample Text");
    EXPECT_EQ(text.font, renderer.fonts.Find("Latin"));

    renderer.Render();
    EXPECT_EQ(LitPixels(0, 300, 1280, 200), 0) << "camera 0 drew text meant for camera 1";
    camera.mCameraIndex.value = 1;
    renderer.Render();
    EXPECT_GT(LitPixels(0, 300, 1280, 200), 1000);
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
