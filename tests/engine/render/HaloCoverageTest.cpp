#include "engine/render/HaloCoverage.h"
#include "engine/render/HaloStrokes.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/packing.hpp>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Engine::CoverHalo;
using Engine::Dilate;
using Engine::HaloCoverage;
using Engine::ViewportRect;

constexpr int kBlock = 64;
constexpr int kMany = 1000;

struct Texel {
    int x;
    int y;
};

std::vector<bool> LitAt(int width, int height, const std::vector<Texel>& texels)
{
    std::vector<bool> lit(static_cast<std::size_t>(width * height), false);
    for (const Texel& t : texels)
        lit[static_cast<std::size_t>(t.y * width + t.x)] = true;
    return lit;
}

// The first of the two texels pixel `x` of `pixels` reads from `texels`, as
// the bloom combine works it out, and the second.
std::pair<int, int> TexelsRead(int x, int pixels, int texels)
{
    const float view = (static_cast<float>(x) + 0.5f) / static_cast<float>(pixels);
    const float below = std::floor(view * static_cast<float>(texels) - 0.5f);
    const int last = texels - 1;
    return {std::clamp(static_cast<int>(below), 0, last), std::clamp(static_cast<int>(below) + 1, 0, last)};
}

// How many rectangles of `rects` hold each pixel, row by row.
void Count(const std::vector<ViewportRect>& rects, int width, std::vector<int>& counts)
{
    for (const ViewportRect& r : rects)
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                ++counts[static_cast<std::size_t>(y * width + x)];
}

// The rectangles share out the picture, every pixel that reads a lit
// texel is drawn with the halo, and so is every pixel whose own glow the
// 4 x 4 mean held or left out (the build without the halo reads no glow).
void ExpectSoundCover(const HaloCoverage& cover, const std::vector<bool>& lit, int haloW, int haloH, int width,
                      int height)
{
    std::vector<int> withHalo(static_cast<std::size_t>(width * height), 0);
    std::vector<int> all(static_cast<std::size_t>(width * height), 0);
    Count(cover.withHalo, width, withHalo);
    Count(cover.withHalo, width, all);
    Count(cover.without, width, all);
    int missed = 0;
    int doubled = 0;
    int glowLeftOut = 0;
    for (int y = 0; y < height; ++y) {
        const auto [y0, y1] = TexelsRead(y, height, haloH);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * width + x);
            doubled += all[at] != 1 ? 1 : 0;
            const auto [x0, x1] = TexelsRead(x, width, haloW);
            bool reads = false;
            for (int ty : {y0, y1})
                for (int tx : {x0, x1})
                    reads = reads || lit[static_cast<std::size_t>(ty * haloW + tx)];
            missed += reads && withHalo[at] == 0 ? 1 : 0;
            const bool measured = x < 4 * haloW && y < 4 * haloH;
            const bool glows = !measured || lit[static_cast<std::size_t>((y / 4) * haloW + x / 4)];
            glowLeftOut += glows && withHalo[at] == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(doubled, 0) << "pixels not drawn exactly once";
    EXPECT_EQ(missed, 0) << "pixels that read the halo drawn without it";
    EXPECT_EQ(glowLeftOut, 0) << "pixels that may glow drawn without the halo";
}

TEST(HaloCoverage, EveryPixelThatReadsALitTexelOrMayGlowGetsTheHaloAndEveryPixelIsDrawnOnce)
{
    struct Case {
        std::string name;
        int width;
        int height;
        std::vector<Texel> lit;
    };
    const std::vector<Case> cases = {
        {"middle", 1280, 720, {{160, 90}}},
        {"first corner", 1280, 720, {{0, 0}}},
        {"last corner", 1280, 720, {{319, 179}}},
        {"an edge and a block seam", 1280, 720, {{0, 100}, {15, 15}, {16, 16}}},
        {"uneven picture", 642, 363, {{0, 0}, {159, 89}, {80, 45}}},
        {"half of a split screen", 1280, 360, {{10, 89}, {300, 0}}},
        {"tiny picture", 5, 3, {{0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int haloW = std::max(c.width / 4, 1);
        const int haloH = std::max(c.height / 4, 1);
        const std::vector<bool> lit = LitAt(haloW, haloH, c.lit);
        std::vector<bool> edgesTaken = lit;
        Engine::TakeUnmeasuredEdgesAsLit(edgesTaken, haloW, haloH, c.width, c.height, 4);
        const HaloCoverage cover = CoverHalo(edgesTaken, haloW, haloH, c.width, c.height, kBlock, kMany);
        EXPECT_FALSE(cover.withHalo.empty());
        ExpectSoundCover(cover, lit, haloW, haloH, c.width, c.height);
    }
}

TEST(HaloCoverage, APictureTheHaloMissesOrFillsIsOneRectangle)
{
    const int haloW = 320;
    const int haloH = 180;
    std::vector<bool> dark(static_cast<std::size_t>(haloW * haloH), false);
    const HaloCoverage none = CoverHalo(dark, haloW, haloH, 1280, 720, kBlock, kMany);
    ASSERT_EQ(none.without.size(), 1u);
    EXPECT_EQ(none.without[0], (ViewportRect{0, 0, 1280, 720}));
    EXPECT_TRUE(none.withHalo.empty());

    std::vector<bool> bright(dark.size(), true);
    const HaloCoverage all = CoverHalo(bright, haloW, haloH, 1280, 720, kBlock, kMany);
    ASSERT_EQ(all.withHalo.size(), 1u);
    EXPECT_EQ(all.withHalo[0], (ViewportRect{0, 0, 1280, 720}));
    EXPECT_TRUE(all.without.empty());
}

// When in doubt the halo is read everywhere: a flag list of the wrong
// length, a halo of no size, or a cover that would take too many draws.
TEST(HaloCoverage, DoubtfulInputOrTooManyPiecesReadTheHaloEverywhere)
{
    const std::vector<bool> shortList(10, false);
    std::vector<bool> checkers(static_cast<std::size_t>(320 * 180), false);
    for (int y = 0; y < 180; y += 32)
        for (int x = 0; x < 320; x += 32)
            checkers[static_cast<std::size_t>(y * 320 + x)] = true;
    struct Case {
        std::string name;
        HaloCoverage cover;
    };
    const std::vector<Case> cases = {
        {"wrong length", CoverHalo(shortList, 320, 180, 1280, 720, kBlock, kMany)},
        {"no halo", CoverHalo({}, 0, 0, 1280, 720, kBlock, kMany)},
        {"no block size", CoverHalo(checkers, 320, 180, 1280, 720, 0, kMany)},
        {"too many pieces", CoverHalo(checkers, 320, 180, 1280, 720, kBlock, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.cover.withHalo.size(), 1u);
        EXPECT_EQ(c.cover.withHalo[0], (ViewportRect{0, 0, 1280, 720}));
        EXPECT_TRUE(c.cover.without.empty());
    }
    EXPECT_TRUE(CoverHalo(checkers, 320, 180, 0, 720, kBlock, kMany).withHalo.empty());
}

// The strokes are drawn only where the mean of the glow, spread as far as
// a stroke across and then one down reach, holds anything: a square round
// each lit texel, cut at the picture's edges.
TEST(HaloCoverage, DilatingMarksTheSquareEachLitTexelReachesWithinThePicture)
{
    struct Case {
        std::string name;
        Texel lit;
        int reach;
        int first[2]; // corner of the marked square
        int last[2];
    };
    const std::vector<Case> cases = {
        {"middle", {10, 6}, 2, {8, 4}, {12, 8}},
        {"corner", {0, 0}, 3, {0, 0}, {3, 3}},
        {"far corner", {19, 11}, 4, {15, 7}, {19, 11}},
        {"no reach", {5, 5}, 0, {5, 5}, {5, 5}},
    };
    constexpr int kW = 20;
    constexpr int kH = 12;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<bool> grown = Dilate(LitAt(kW, kH, {c.lit}), kW, kH, c.reach);
        int wrong = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool inside = x >= c.first[0] && x <= c.last[0] && y >= c.first[1] && y <= c.last[1];
                wrong += grown[static_cast<std::size_t>(y * kW + x)] != inside ? 1 : 0;
            }
        EXPECT_EQ(wrong, 0);
    }
    const std::vector<bool> odd(7, true);
    EXPECT_EQ(Dilate(odd, kW, kH, 2), odd) << "a list of the wrong length comes back as it was";
}

// The halo's strokes summed on the processor read the glow's mean as half
// floats: every one of them reads as its own value, and a stroke's taps
// stretch the picture's edge texels outward as the program's do, one edge
// never reaching the other.
TEST(HaloStrokes, ReadEveryHalfFloatAsItIsAndStretchTheEdgesOutward)
{
    const Engine::BlurKernel same = Engine::LineKernel({1.0f}, 0, true);
    std::vector<std::uint16_t> all(65536 * 4, 0);
    for (std::size_t h = 0; h < 65536; ++h)
        all[h * 4] = static_cast<std::uint16_t>(h);
    Engine::HaloStrokes strokes;
    const std::vector<float> read = strokes.Spread(all, 256, 256, same, same);
    ASSERT_EQ(read.size(), 65536u * 3);
    for (std::size_t h = 0; h < 65536; ++h) {
        const float expected = glm::unpackHalf1x16(static_cast<std::uint16_t>(h));
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(read[h * 3])) << h;
        else
            ASSERT_EQ(read[h * 3], expected) << h;
    }

    // 1.0 and 2.0 at the two ends of the middle row of five, spread by taps
    // of 1/4, 1/2 and 1/4 across.
    std::vector<std::uint16_t> ends(5 * 3 * 4, 0);
    ends[(5 + 0) * 4 + 1] = 0x3c00;
    ends[(5 + 4) * 4 + 1] = 0x4000;
    const std::vector<float> spread = strokes.Spread(ends, 5, 3, Engine::LineKernel({1, 2, 1}, -1, false), same);
    const float middleRow[] = {0.75f, 0.25f, 0.0f, 0.5f, 1.5f};
    for (int x = 0; x < 5; ++x) {
        EXPECT_FLOAT_EQ(spread[static_cast<std::size_t>((5 + x) * 3 + 1)], middleRow[x]) << x;
        EXPECT_EQ(spread[static_cast<std::size_t>(x * 3 + 1)], 0.0f) << x;
    }
    EXPECT_TRUE(strokes.Spread(ends, 5, 4, same, same).empty()) << "fewer texels than the picture holds";
}

} // namespace
