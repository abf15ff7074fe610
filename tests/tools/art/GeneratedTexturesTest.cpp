#include <algorithm>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "DecodedImage.h"
#include "ResourceTable.h"
#include "tools/art/Canvas.h"
#include "tools/art/ImageFile.h"
#include "tools/art/Typeface.h"

namespace {

// Share of pixels that are clearly visible and bright, the lit parts of a HUD picture.
struct LitPixels {
    int count = 0;
    double red = 0, blue = 0;
};

LitPixels Lit(const DecodedImage& image, int brightness = 200)
{
    LitPixels lit;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.At(x, y);
            if (p[3] > 200 && std::max({ p[0], p[1], p[2] }) > brightness && !(p[0] > 230 && p[1] > 230 && p[2] > 230)) {
                ++lit.count;
                lit.red += p[0];
                lit.blue += p[2];
            }
        }
    }
    return lit;
}

DecodedImage Texture(const std::string& name)
{
    return DecodeFile(TextureFile(name));
}

constexpr int kColumns = 10;
constexpr int kCellWidth = 200;
constexpr int kCellHeight = 170;
constexpr int kThumbWidth = 190;
constexpr int kThumbHeight = 136;

// Draws the picture top row up, over a checkerboard that shows its transparency.
void PlaceThumbnail(Art::Canvas& sheet, const DecodedImage& image, int left, int top)
{
    const float scale = std::min(static_cast<float>(kThumbWidth) / image.width, static_cast<float>(kThumbHeight) / image.height);
    const int w = std::max(1, static_cast<int>(image.width * scale)), h = std::max(1, static_cast<int>(image.height * scale));
    const int x0 = left + (kThumbWidth - w) / 2, y0 = top + (kThumbHeight - h) / 2;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int row = image.height - 1 - std::min(image.height - 1, static_cast<int>(y / scale));
            const std::uint8_t* p = image.At(std::min(image.width - 1, static_cast<int>(x / scale)), row);
            const float shade = (x / 8 + y / 8) % 2 == 0 ? 0.32f : 0.22f;
            sheet.At(x0 + x, y0 + y) = Art::Colour(shade, shade, shade + 0.04f, 1.0f);
            sheet.Blend(x0 + x, y0 + y, Art::Colour(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1.0f), p[3] / 255.0f);
        }
    }
}

// Every registered texture decodes as the renderer decodes it and goes on one
// sheet under its registry name, screenshots/textures.png, for a person to
// look over.
TEST(GeneratedTextures, EveryRegisteredFileDecodesAndPhotoshopFilesCarryTheirAlpha)
{
    const auto table = RegisteredTextures();
    const int rows = static_cast<int>((table.size() + kColumns - 1) / kColumns);
    Art::Canvas sheet(kColumns * kCellWidth, rows * kCellHeight, Art::Colour(0.1f, 0.1f, 0.12f, 1.0f));
    const Art::Typeface face("data/Font/DejaVuSans.ttf");
    Art::LabelStyle style;
    style.fill = Art::Colour(0.9f, 0.9f, 0.9f, 1.0f);
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].file);
        const DecodedImage image = DecodeFile(table[i].file);
        ASSERT_TRUE(image.failure.empty()) << image.failure;
        if (table[i].file.ends_with(".psd")) {
            EXPECT_EQ(image.channelsInFile, 4);
        }
        const int left = static_cast<int>(i % kColumns) * kCellWidth + 5;
        const int top = static_cast<int>(i / kColumns) * kCellHeight + 5;
        PlaceThumbnail(sheet, image, left, top);
        Art::DrawLabel(sheet, face, table[i].name, glm::vec2(left + kThumbWidth / 2.0f, top + kThumbHeight + 14.0f), 15, kThumbWidth, style);
    }
    std::filesystem::create_directories("screenshots");
    Art::SaveImage(sheet, "screenshots/textures.png");
    // A HUD picture must keep its see-through surroundings after decoding.
    const DecodedImage score = Texture("Score_J1_3");
    EXPECT_EQ(score.At(0, 0)[3], 0);
    EXPECT_EQ(score.At(300, 64)[3], 255); // the middle pip, lit at three points
}

TEST(GeneratedTextures, NormalMapsPointOutOfTheSurface)
{
    const DecodedImage flat = Texture("NormalDefault");
    for (int i = 0; i < flat.width * flat.height; ++i) {
        const std::uint8_t* p = &flat.rgba[static_cast<std::size_t>(i) * 4];
        EXPECT_EQ(p[0], 128);
        EXPECT_EQ(p[1], 128);
        EXPECT_EQ(p[2], 255);
    }

    // The tile's cap is a hexagon centred on (0.25, 0.5) with flat edges at
    // the top and bottom: its rounded rim leans outwards, up at the top edge
    // and down at the bottom edge, in texture space (v up).
    const DecodedImage tile = Texture("Tile_Normal");
    auto at = [&](float u, float v) { return tile.At(static_cast<int>(u * tile.width), static_cast<int>(v * tile.height)); };
    EXPECT_GT(at(0.25f, 0.5f + 0.5f * 0.84f)[1], 150);
    EXPECT_LT(at(0.25f, 0.5f - 0.5f * 0.84f)[1], 106);
    EXPECT_EQ(at(0.25f, 0.5f)[0], 128);
    EXPECT_EQ(at(0.25f, 0.5f)[2], 255);
}

TEST(GeneratedTextures, EnergyBarsLightOneMoreSegmentPerUnit)
{
    for (const std::string series : { "Energy_", "Exhausted_" }) {
        int previous = -1;
        for (int n = 0; n <= 16; ++n) {
            SCOPED_TRACE(series + std::to_string(n));
            const LitPixels lit = Lit(Texture(series + std::to_string(n)));
            EXPECT_GT(lit.count, previous);
            previous = lit.count;
        }
    }
    const LitPixels calm = Lit(Texture("Energy_16"));
    const LitPixels spent = Lit(Texture("Exhausted_16"));
    EXPECT_GT(calm.blue, calm.red);
    EXPECT_GT(spent.red, spent.blue);
}

TEST(GeneratedTextures, ScorePipsShowTheColourOfThePlayerWhoAsksForThem)
{
    // Player 1 plays blue and asks for "Score_J1_n", player 2 red.
    for (int player = 1; player <= 2; ++player) {
        int previous = -1;
        for (int n = 0; n <= 5; ++n) {
            const std::string name = "Score_J" + std::to_string(player) + "_" + std::to_string(n);
            SCOPED_TRACE(name);
            const LitPixels lit = Lit(Texture(name), 150);
            EXPECT_GT(lit.count, previous);
            previous = lit.count;
            if (player == 1)
                EXPECT_GT(lit.blue, lit.red);
            else
                EXPECT_GT(lit.red, lit.blue);
        }
    }
}

TEST(GeneratedTextures, SparkleIsAnAnimationOfDistinctFrames)
{
    DecodedImage previous = Texture("Brilli_0");
    for (int n = 1; n <= 25; ++n) {
        SCOPED_TRACE(n);
        const DecodedImage frame = Texture("Brilli_" + std::to_string(n));
        ASSERT_EQ(frame.width, previous.width);
        ASSERT_EQ(frame.height, previous.height);
        EXPECT_NE(frame.rgba, previous.rgba);
        previous = frame;
    }
}

TEST(GeneratedTextures, PicturesKeepTheShapesTheirQuadsHave)
{
    // Medals and the sparkle play on quads scaled 1.33 : 1.
    for (const char* name : { "MedalNormal", "MedalPerfect", "MedalLost", "Player1Wins", "Brilli_0" }) {
        const DecodedImage image = Texture(name);
        EXPECT_NEAR(static_cast<double>(image.width) / image.height, 1.333, 0.01) << name;
    }
    // The title menu sizes its logo by the whole-number quotient of width
    // over height; any remainder would squash it.
    const DecodedImage title = Texture("SolvaneLogo");
    EXPECT_EQ(title.width % title.height, 0);
    // Its bottom eighth is clear: the title menu's first button stands there.
    const DecodedImage upright = DecodeFile(TextureFile("SolvaneLogo"), false);
    int covered = 0;
    for (int y = upright.height * 7 / 8; y < upright.height; ++y)
        for (int x = 0; x < upright.width; ++x)
            covered += upright.At(x, y)[3] > 8 ? 1 : 0;
    EXPECT_EQ(covered, 0);
    const DecodedImage cross = Texture("Cross");
    EXPECT_EQ(cross.width, cross.height);
}

// Mean difference between neighbouring rows or columns of channel c;
// `across` compares the last line with the first, as a repeating texture joins them.
double Step(const DecodedImage& image, bool columns, bool across, int c)
{
    const int lines = columns ? image.width : image.height;
    const int length = columns ? image.height : image.width;
    const int a = across ? lines - 1 : lines / 2, b = across ? 0 : lines / 2 + 1;
    double sum = 0;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t* p = columns ? image.At(a, i) : image.At(i, a);
        const std::uint8_t* q = columns ? image.At(b, i) : image.At(i, b);
        sum += std::abs(p[c] - q[c]);
    }
    return sum / length;
}

TEST(GeneratedTextures, RepeatingSurfacesJoinWithoutASeam)
{
    // The force field repeats both ways over its sphere; the ball's picture
    // wraps round in u.
    const DecodedImage grid = Texture("ForceField");
    for (bool columns : { true, false })
        EXPECT_LE(Step(grid, columns, true, 3), 2.0 * Step(grid, columns, false, 3) + 2.0) << (columns ? "left to right" : "top to bottom");
    const DecodedImage ball = Texture("Ball_Bump");
    EXPECT_LE(Step(ball, true, true, 0), 2.0 * Step(ball, true, false, 0) + 2.0);
}

TEST(GeneratedTextures, MakerLogoShowsWhenItIsUpsideDown)
{
    const DecodedImage logo = DecodeFile(TextureFile("MorwickLogo"), false);
    const DecodedImage flipped = DecodeFile(TextureFile("MorwickLogo"), true);
    long differing = 0;
    for (std::size_t i = 3; i < logo.rgba.size(); i += 4)
        differing += std::abs(logo.rgba[i] - flipped.rgba[i]) > 128;
    EXPECT_GT(differing, static_cast<long>(logo.width) * logo.height / 20);
    // The splash draws it on black: where it is opaque it has to be light.
    long opaque = 0, light = 0;
    for (std::size_t i = 0; i < logo.rgba.size(); i += 4) {
        if (logo.rgba[i + 3] < 250)
            continue;
        ++opaque;
        light += std::max({ logo.rgba[i], logo.rgba[i + 1], logo.rgba[i + 2] }) > 150;
    }
    EXPECT_GT(opaque, static_cast<long>(logo.width) * logo.height / 50);
    EXPECT_EQ(light, opaque);
}

} // namespace
