#include "engine/render/HaloCoverage.h"

#include <algorithm>
#include <cmath>

namespace Engine {

namespace {

// Pixels read a texel from a little before its own span: rounding of the
// interpolated position is kept well inside this.
constexpr int kMarginPixels = 2;

struct Span {
    int first = 0; // first pixel
    int end = 0;   // one past the last
};

// The pixels (along one side) whose two nearest texels include texel `i` of
// `texels`. Pixel x reads its texels from p = (x + 0.5) * texels / pixels -
// 0.5, texels floor(p) and floor(p) + 1, both held inside the halo.
Span PixelsReading(int i, int texels, int pixels)
{
    const double scale = static_cast<double>(pixels) / static_cast<double>(texels);
    int first = static_cast<int>(std::floor((i - 0.5) * scale - 0.5)) - kMarginPixels;
    int end = static_cast<int>(std::ceil((i + 1.5) * scale - 0.5)) + kMarginPixels + 1;
    // Beyond the first and the last texel the edge texel is read.
    if (i == 0)
        first = 0;
    if (i == texels - 1)
        end = pixels;
    return {std::clamp(first, 0, pixels), std::clamp(end, 0, pixels)};
}

// A run of blocks joins the rectangle right below it when the two are as
// wide: fewer rectangles, fewer draws.
void AddRun(std::vector<ViewportRect>& rects, const ViewportRect& run)
{
    for (ViewportRect& rect : rects)
        if (rect.x == run.x && rect.width == run.width && rect.y + rect.height == run.y) {
            rect.height += run.height;
            return;
        }
    rects.push_back(run);
}

HaloCoverage Whole(int width, int height, bool withHalo)
{
    HaloCoverage coverage;
    (withHalo ? coverage.withHalo : coverage.without).push_back({0, 0, width, height});
    return coverage;
}

} // namespace

std::vector<bool> Dilate(const std::vector<bool>& lit, int width, int height, int reach)
{
    if (width <= 0 || height <= 0 || lit.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return lit;
    auto at = [width](int x, int y) { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x); };
    std::vector<bool> across(lit.size(), false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (lit[at(x, y)])
                for (int i = std::max(x - reach, 0); i <= std::min(x + reach, width - 1); ++i)
                    across[at(i, y)] = true;
    std::vector<bool> both(lit.size(), false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (across[at(x, y)])
                for (int j = std::max(y - reach, 0); j <= std::min(y + reach, height - 1); ++j)
                    both[at(x, j)] = true;
    return both;
}

void TakeUnmeasuredEdgesAsLit(std::vector<bool>& lit, int width, int height, int pictureWidth, int pictureHeight,
                              int shrink)
{
    if (width <= 0 || height <= 0 || lit.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return;
    auto at = [width](int x, int y) { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x); };
    if (pictureWidth > width * shrink)
        for (int y = 0; y < height; ++y)
            lit[at(width - 1, y)] = true;
    if (pictureHeight > height * shrink)
        for (int x = 0; x < width; ++x)
            lit[at(x, height - 1)] = true;
}

HaloCoverage CoverHalo(const std::vector<bool>& lit, int haloWidth, int haloHeight, int pictureWidth, int pictureHeight,
                       int block, int mostRectangles)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return {};
    const bool fits = haloWidth > 0 && haloHeight > 0 && block > 0 &&
                      lit.size() == static_cast<std::size_t>(haloWidth) * static_cast<std::size_t>(haloHeight);
    if (!fits)
        return Whole(pictureWidth, pictureHeight, true); // unknown: the halo may be anywhere
    const int across = (pictureWidth + block - 1) / block;
    const int down = (pictureHeight + block - 1) / block;
    std::vector<bool> reached(static_cast<std::size_t>(across) * static_cast<std::size_t>(down), false);
    std::size_t reachedCount = 0;
    for (int ty = 0; ty < haloHeight; ++ty) {
        for (int tx = 0; tx < haloWidth; ++tx) {
            if (!lit[static_cast<std::size_t>(ty) * static_cast<std::size_t>(haloWidth) + static_cast<std::size_t>(tx)])
                continue;
            const Span xs = PixelsReading(tx, haloWidth, pictureWidth);
            const Span ys = PixelsReading(ty, haloHeight, pictureHeight);
            for (int by = ys.first / block; by * block < ys.end; ++by)
                for (int bx = xs.first / block; bx * block < xs.end; ++bx) {
                    const std::size_t cell =
                        static_cast<std::size_t>(by) * static_cast<std::size_t>(across) + static_cast<std::size_t>(bx);
                    if (!reached[cell]) {
                        reached[cell] = true;
                        ++reachedCount;
                    }
                }
        }
    }
    if (reachedCount == 0)
        return Whole(pictureWidth, pictureHeight, false);
    if (reachedCount == reached.size())
        return Whole(pictureWidth, pictureHeight, true);

    HaloCoverage coverage;
    for (int by = 0; by < down; ++by) {
        const int y = by * block;
        const int height = std::min(block, pictureHeight - y);
        int runStart = 0;
        for (int bx = 1; bx <= across; ++bx) {
            const bool here =
                reached[static_cast<std::size_t>(by) * static_cast<std::size_t>(across) + static_cast<std::size_t>(runStart)];
            const bool ends = bx == across ||
                              reached[static_cast<std::size_t>(by) * static_cast<std::size_t>(across) +
                                      static_cast<std::size_t>(bx)] != here;
            if (!ends)
                continue;
            const int x = runStart * block;
            const ViewportRect run{x, y, std::min(bx * block, pictureWidth) - x, height};
            AddRun(here ? coverage.withHalo : coverage.without, run);
            runStart = bx;
        }
    }
    if (static_cast<int>(coverage.withHalo.size() + coverage.without.size()) > mostRectangles)
        return Whole(pictureWidth, pictureHeight, true);
    return coverage;
}

} // namespace Engine
