#include "engine/render/HaloStrokes.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace Engine {

namespace {

// Red, green and blue of each texel one after another, row by row.
constexpr int kChannels = 3;

// A half float's value. Its bits moved into a float's places make the same
// number 2^112 times too small (a subnormal one too), which one product puts
// right; infinities and NaNs take the float's widest exponent.
float HalfToFloat(std::uint16_t half)
{
    const std::uint32_t magnitude = static_cast<std::uint32_t>(half & 0x7fffu) << 13;
    float value = std::bit_cast<float>(magnitude) * 0x1p112f;
    if ((half & 0x7c00u) == 0x7c00u)
        value = std::bit_cast<float>(magnitude | 0x7f800000u);
    return (half & 0x8000u) != 0 ? -value : value;
}

// Whether each row holds anything but zeros: a row of zeros adds nothing to
// any stroke.
void FindHeldRows(const std::vector<float>& picture, int width, int height, std::vector<char>& held)
{
    const std::size_t rowFloats = static_cast<std::size_t>(width) * kChannels;
    held.resize(static_cast<std::size_t>(height));
    for (std::size_t y = 0; y < held.size(); ++y) {
        const auto row = picture.begin() + static_cast<std::ptrdiff_t>(y * rowFloats);
        held[y] = std::any_of(row, row + static_cast<std::ptrdiff_t>(rowFloats), [](float v) { return v != 0.0f; });
    }
}

// out += weight x in, each texel of `out` taking the one `dx` across and
// `dy` down of it in `in`, clamped to the picture. Row by row over
// contiguous runs of floats, which the compiler turns into vector code.
void AddTap(float* __restrict out, const float* __restrict in, const std::vector<char>& held, int width, int height,
            int dx, int dy, float weight)
{
    // Texels [begin, end) of a row read their neighbour dx along; those
    // before read the first texel, those after the last.
    const int begin = std::clamp(-dx, 0, width);
    const int end = std::clamp(width - dx, begin, width);
    const std::ptrdiff_t rowFloats = static_cast<std::ptrdiff_t>(width) * kChannels;
    for (int y = 0; y < height; ++y) {
        const int from = std::clamp(y + dy, 0, height - 1);
        if (!held[static_cast<std::size_t>(from)])
            continue;
        float* __restrict target = out + y * rowFloats;
        const float* __restrict source = in + from * rowFloats;
        for (int x = 0; x < begin; ++x)
            for (int c = 0; c < kChannels; ++c)
                target[x * kChannels + c] += source[c] * weight;
        const float* __restrict shifted = source + dx * kChannels;
        for (int i = begin * kChannels; i < end * kChannels; ++i)
            target[i] += shifted[i] * weight;
        const float* __restrict last = source + (width - 1) * kChannels;
        for (int x = end; x < width; ++x)
            for (int c = 0; c < kChannels; ++c)
                target[x * kChannels + c] += last[c] * weight;
    }
}

void Stroke(const std::vector<float>& in, const std::vector<char>& held, std::vector<float>& out, int width,
            int height, const BlurKernel& kernel)
{
    out.assign(in.size(), 0.0f);
    for (int i = 0; i < std::min(kernel.count, BlurKernel::kMaxTaps); ++i) {
        const glm::vec3& tap = kernel.taps[static_cast<std::size_t>(i)];
        AddTap(out.data(), in.data(), held, width, height, static_cast<int>(tap.x), static_cast<int>(tap.y), tap.z);
    }
}

} // namespace

const std::vector<float>& HaloStrokes::Spread(const std::vector<std::uint16_t>& texels, int width, int height,
                                              const BlurKernel& across, const BlurKernel& down)
{
    const bool sized = width > 0 && height > 0;
    const std::size_t count = sized ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) : 0;
    if (count == 0 || texels.size() < count * 4) {
        mSpread.clear();
        return mSpread;
    }
    mMean.resize(count * kChannels);
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t c = 0; c < kChannels; ++c)
            mMean[i * kChannels + c] = HalfToFloat(texels[i * 4 + c]);
    FindHeldRows(mMean, width, height, mHeldRows);
    Stroke(mMean, mHeldRows, mAcross, width, height, across);
    FindHeldRows(mAcross, width, height, mHeldRows);
    Stroke(mAcross, mHeldRows, mSpread, width, height, down);
    return mSpread;
}

} // namespace Engine
