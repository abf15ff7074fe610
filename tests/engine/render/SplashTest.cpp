#include "GlTestWindow.h"
#include "support/CapturedOutput.h"
#include "support/FreshProcess.h"

#include <cmath>
#include <gtest/gtest.h>
#include <stb_image.h>

namespace {

using Engine::Renderer;

// The splash and the bar swap their own frames. Mesa's software driver
// keeps the back buffer's content across a swap (its front buffer cannot be
// read back), so PixelAt reads the frame just shown from there.

bool Near(const std::array<int, 3>& a, const std::array<int, 3>& b, int tolerance)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(a[i] - b[i]) > tolerance)
            return false;
    return true;
}

struct SplashFixture : ::testing::Test {
    void SetUp() override
    {
        testing::internal::CaptureStdout();
        OpenTestWindow();
        renderer.LoadSplashResources();
        testing::internal::GetCapturedStdout();
        std::tie(width, height) = Engine::Window::Main()->GetSize();
        stbi_set_flip_vertically_on_load(0);
        logo = stbi_load("data/Texture/MorwickLogo.png", &logoW, &logoH, &channels, 4);
        ASSERT_NE(logo, nullptr);
    }
    void TearDown() override { stbi_image_free(logo); }

    // The logo's own colour at an image point (top-left origin) over black.
    std::array<int, 3> LogoOverBlack(int px, int py) const
    {
        const unsigned char* p = logo + (static_cast<std::size_t>(py) * logoW + px) * 4;
        return {p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255};
    }

    // Where an image point lands on screen, for the logo drawn upright or
    // upside down.
    std::pair<int, int> ScreenOf(int px, int py, bool flipped) const
    {
        float sx = 0.6f;
        float sy = 0.6f * (static_cast<float>(logoH) / logoW) * (static_cast<float>(width) / height);
        float u = (px + 0.5f) / logoW;
        float vTop = (py + 0.5f) / logoH;
        float ndcX = -sx + 2.0f * sx * u;
        float ndcY = flipped ? -sy + 2.0f * sy * vTop : sy - 2.0f * sy * vTop;
        return {static_cast<int>((ndcX + 1.0f) * 0.5f * width), static_cast<int>((ndcY + 1.0f) * 0.5f * height)};
    }

    // Share of the logo's solid points found at their place on screen.
    double MatchingShare(bool flipped) const
    {
        int solid = 0;
        int matching = 0;
        for (int py = 8; py < logoH; py += 16)
            for (int px = 8; px < logoW; px += 16) {
                const unsigned char* p = logo + (static_cast<std::size_t>(py) * logoW + px) * 4;
                if (p[3] < 250)
                    continue;
                ++solid;
                auto [x, y] = ScreenOf(px, py, flipped);
                matching += Near(PixelAt(x, y), LogoOverBlack(px, py), 40);
            }
        return solid ? static_cast<double>(matching) / solid : 0.0;
    }

    Renderer& renderer = Renderer::GetInstance();
    int width = 0;
    int height = 0;
    int logoW = 0;
    int logoH = 0;
    int channels = 0;
    unsigned char* logo = nullptr;
};

TEST_F(SplashFixture, OpacityZeroShowsTheLogoUprightAndCentredAndOneIsBlack)
{
    renderer.DrawSplash(0.0f);
    EXPECT_GT(MatchingShare(false), 0.9);
    EXPECT_LT(MatchingShare(true), 0.6) << "the logo would also match upside down";
    // Outside the logo's box the window stays black, on every side.
    for (auto [x, y] : {std::pair(width / 2, height - 5), {width / 2, 5}, {5, height / 2}, {width - 5, height / 2}})
        EXPECT_TRUE(Near(PixelAt(x, y), {0, 0, 0}, 2)) << x << "," << y;
    EXPECT_TRUE(SaveScreenshot("splash"));

    renderer.DrawSplash(1.0f);
    for (int x = 0; x < width; x += 97)
        for (int y = 0; y < height; y += 61)
            ASSERT_TRUE(Near(PixelAt(x, y), {0, 0, 0}, 1)) << x << "," << y;
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(SplashFixture, TheLoadingBarAtOneHalfFillsHalf)
{
    renderer.DrawLoadingBar(0.5f);
    const std::array<int, 3> grey{179, 179, 179};
    const std::array<int, 3> black{0, 0, 0};
    auto at = [&](float ndcX) { return PixelAt(static_cast<int>((ndcX + 1.0f) * 0.5f * width), height / 2); };
    // Filled up to the middle; the frame's grey rim shows between the inner
    // field and the outer edge (+-0.3375).
    for (auto [ndcX, filled] : {std::pair(-0.30f, true), {-0.02f, true}, {0.02f, false}, {0.30f, false},
                              {0.3375f, true}, {-0.3375f, true}, {0.36f, false}})
        EXPECT_TRUE(Near(at(ndcX), filled ? grey : black, 3)) << ndcX;
    EXPECT_TRUE(Near(PixelAt(width / 2, height / 2 + static_cast<int>(0.1f * height)), black, 3));
    EXPECT_TRUE(SaveScreenshot("loading_bar"));

    renderer.DrawLoadingBar(0.0f);
    EXPECT_TRUE(Near(at(-0.30f), black, 3));
    renderer.DrawLoadingBar(1.0f);
    EXPECT_TRUE(Near(at(0.32f), grey, 3));
    EXPECT_TRUE(DrainGlErrors().empty());
}

// A logo that could not be read has no size to keep: only the overlay shows.
// The first texture of a name stays for the whole process, so the broken
// logo must come before the real one: in a process of its own.
TEST(SplashWithoutLogo, SkipsTheLogoInsteadOfDividingByZero)
{
    ExpectInFreshProcess([]() -> std::string {
        OpenTestWindow();
        Renderer& renderer = Renderer::GetInstance();
        renderer.textures.Add("MorwickLogo", std::make_unique<Engine::Texture>())->LoadFromFile("no/such/logo.png");
        StdoutOf([&] { renderer.LoadSplashResources(); });
        if (renderer.textures.Find("MorwickLogo")->Width() != 0)
            return "the logo has a size";
        renderer.DrawSplash(0.0f);
        auto [w, h] = Engine::Window::Main()->GetSize();
        if (!Near(PixelAt(w / 2, h / 2), {0, 0, 0}, 1))
            return "the middle is not black";
        return DrainGlErrors().empty() ? "" : "GL errors";
    });
}

} // namespace
