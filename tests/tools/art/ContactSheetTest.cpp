#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "DecodedImage.h"
#include "ResourceTable.h"
#include "tools/art/Canvas.h"
#include "tools/art/ImageFile.h"
#include "tools/art/Typeface.h"

namespace {

constexpr int kColumns = 10;
constexpr int kCellWidth = 200;
constexpr int kCellHeight = 170;
constexpr int kThumbWidth = 190;
constexpr int kThumbHeight = 136;

// A checkerboard under each picture, so that its transparency shows.
Art::Colour Backdrop(int x, int y)
{
    return ((x / 8 + y / 8) % 2 == 0) ? Art::Colour(0.32f, 0.32f, 0.36f, 1.0f) : Art::Colour(0.22f, 0.22f, 0.26f, 1.0f);
}

void PlaceThumbnail(Art::Canvas& sheet, const DecodedImage& image, int left, int top)
{
    const float scale = std::min(static_cast<float>(kThumbWidth) / image.width, static_cast<float>(kThumbHeight) / image.height);
    const int w = std::max(1, static_cast<int>(image.width * scale)), h = std::max(1, static_cast<int>(image.height * scale));
    const int x0 = left + (kThumbWidth - w) / 2, y0 = top + (kThumbHeight - h) / 2;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = image.At(std::min(image.width - 1, static_cast<int>(x / scale)), std::min(image.height - 1, static_cast<int>(y / scale)));
            sheet.At(x0 + x, y0 + y) = Backdrop(x, y);
            sheet.Blend(x0 + x, y0 + y, Art::Colour(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1.0f), p[3] / 255.0f);
        }
    }
}

// Every registered texture on one sheet with its registry name, written to
// screenshots/textures.png for a person to look over.
TEST(TextureContactSheet, ShowsEveryRegisteredTexture)
{
    const auto table = RegisteredTextures();
    const int rows = static_cast<int>((table.size() + kColumns - 1) / kColumns);
    Art::Canvas sheet(kColumns * kCellWidth, rows * kCellHeight, Art::Colour(0.1f, 0.1f, 0.12f, 1.0f));
    const Art::Typeface face("data/Font/DejaVuSans.ttf");
    Art::LabelStyle style;
    style.fill = Art::Colour(0.9f, 0.9f, 0.9f, 1.0f);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int left = static_cast<int>(i % kColumns) * kCellWidth + 5;
        const int top = static_cast<int>(i / kColumns) * kCellHeight + 5;
        // Shown as it appears on screen, top row up.
        const DecodedImage image = DecodeFile(table[i].file, false);
        ASSERT_TRUE(image.failure.empty()) << table[i].file << ": " << image.failure;
        PlaceThumbnail(sheet, image, left, top);
        Art::DrawLabel(sheet, face, table[i].name, glm::vec2(left + kThumbWidth / 2.0f, top + kThumbHeight + 14.0f), 15, kThumbWidth, style);
    }
    std::filesystem::create_directories("screenshots");
    Art::SaveImage(sheet, "screenshots/textures.png");
    EXPECT_TRUE(std::filesystem::exists("screenshots/textures.png"));
}

} // namespace
