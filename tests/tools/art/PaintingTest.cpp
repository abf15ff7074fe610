#include <gtest/gtest.h>

#include "tools/art/Canvas.h"
#include "tools/art/NormalMap.h"
#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"
#include "tools/art/Typeface.h"

namespace {

TEST(ArtCanvas, ShapesCoverTheirPixelsAndSoftenTheirRim)
{
    Art::Canvas canvas(32, 32);
    Art::Fill(canvas, Art::WholeOf(canvas), [](glm::vec2 p) { return Art::Shape::Circle(p, glm::vec2(16.0f), 8.25f); }, Art::Colour(1, 0, 0, 1));
    EXPECT_EQ(canvas.At(16, 16), Art::Colour(1, 0, 0, 1));
    EXPECT_EQ(canvas.At(0, 0).a, 0.0f);
    // A pixel the outline crosses (its centre 8.5 from the middle) is partly covered.
    const float rim = canvas.At(16 + 8, 16).a;
    EXPECT_GT(rim, 0.0f);
    EXPECT_LT(rim, 1.0f);

    // Colour laid over a half-covered pixel keeps the colour, not a darker one.
    Art::Canvas one(1, 1);
    one.Blend(0, 0, Art::Colour(0.2f, 0.4f, 0.8f, 1.0f), 0.5f);
    EXPECT_FLOAT_EQ(one.At(0, 0).r, 0.2f);
    EXPECT_FLOAT_EQ(one.At(0, 0).a, 0.5f);
}

TEST(ArtCanvas, ClearPixelsTakeTheirNeighboursColour)
{
    Art::Canvas canvas(8, 1);
    canvas.At(0, 0) = Art::Colour(1, 0.5f, 0, 1);
    canvas.BleedIntoTransparent(3);
    // Filtering between the painted pixel and its clear neighbour must not
    // pull in black; the neighbours stay clear.
    EXPECT_EQ(canvas.At(1, 0), Art::Colour(1, 0.5f, 0, 0));
    EXPECT_EQ(canvas.At(3, 0), Art::Colour(1, 0.5f, 0, 0));
    EXPECT_EQ(canvas.At(4, 0), Art::Colour(0, 0, 0, 0));
}

TEST(ArtShapes, HexagonsStandTheWayTheyAreAskedTo)
{
    const glm::vec2 c(0.0f);
    // Flat top: corners left and right, edges at 0.866 of the corner radius above and below.
    EXPECT_NEAR(Art::Shape::Hexagon(glm::vec2(10, 0), c, 10.0f, true), 0.0f, 1e-4f);
    EXPECT_NEAR(Art::Shape::Hexagon(glm::vec2(0, 8.660254f), c, 10.0f, true), 0.0f, 1e-4f);
    // Corner up: the other way round.
    EXPECT_NEAR(Art::Shape::Hexagon(glm::vec2(0, 10), c, 10.0f, false), 0.0f, 1e-4f);
    EXPECT_NEAR(Art::Shape::Hexagon(glm::vec2(8.660254f, 0), c, 10.0f, false), 0.0f, 1e-4f);
    EXPECT_LT(Art::Shape::Hexagon(c, c, 10.0f, true), 0.0f);
    // Polygons are inside-negative whichever way their corners turn.
    const std::vector<glm::vec2> square = { { 0, 0 }, { 4, 0 }, { 4, 4 }, { 0, 4 } };
    const std::vector<glm::vec2> reversed(square.rbegin(), square.rend());
    EXPECT_FLOAT_EQ(Art::Shape::Polygon({ 2, 2 }, square), -2.0f);
    EXPECT_FLOAT_EQ(Art::Shape::Polygon({ 2, 2 }, reversed), -2.0f);
    EXPECT_FLOAT_EQ(Art::Shape::Polygon({ 7, 2 }, square), 3.0f);
}

// Which way v runs is checked on the tile's generated normal map.
TEST(ArtNormalMap, SlopesFaceDownhill)
{
    Art::HeightField risingRight(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            risingRight.At(x, y) = static_cast<float>(x);
    }
    const Art::Colour right = Art::NormalMapFrom(risingRight).At(4, 4);
    EXPECT_LT(right.r, 0.5f); // faces back towards -u
    EXPECT_FLOAT_EQ(right.g, 0.5f);
}

TEST(ArtTypeface, LabelsShrinkToTheirRoom)
{
    const Art::Typeface face("data/Font/Amazonas.ttf");
    const Art::Mask wide = face.Render("ACTIVE SHOT", 46);
    ASSERT_GT(wide.width, 200);

    Art::Canvas canvas(400, 100);
    Art::LabelStyle style;
    style.outline = Art::Colour(0, 0, 0, 1);
    style.outlineWidth = 3;
    Art::DrawLabel(canvas, face, "ACTIVE SHOT", glm::vec2(200, 50), 46, 200.0f, style);
    int left = canvas.Width(), right = -1;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.At(x, y).a > 0.0f) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_LE(right - left + 1, 200 + 2 * 3);
    EXPECT_NEAR((left + right) / 2.0f, 200.0f, 2.0f);
    EXPECT_THROW(Art::Typeface("data/Font/NoSuchFont.ttf"), std::runtime_error);
}

} // namespace
