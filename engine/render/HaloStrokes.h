#pragma once
#include "engine/render/BlurKernel.h"

#include <cstdint>
#include <vector>

namespace Engine {

// The halo's two strokes worked out on the processor, for a software
// rasteriser that has read the glow's mean back anyway: there the strokes'
// two small passes cost more in waking the rasteriser's threads, twice, than
// in the sums themselves. Keeps its pictures from frame to frame: made anew
// each time, their memory would cost more than the sums.
class HaloStrokes {
public:
    // `texels` is the mean as read, four half floats a texel (red, green,
    // blue, alpha), row by row from the bottom, `width` by `height`. Each
    // stroke sums its taps at their offsets, clamped to the picture as the
    // "Blur" program clamps them, in the program's order. Returns the spread,
    // three floats a texel (red, green, blue) in the same rows; nothing for a
    // picture without texels or `texels` too short for it.
    const std::vector<float>& Spread(const std::vector<std::uint16_t>& texels, int width, int height,
                                     const BlurKernel& across, const BlurKernel& down);

private:
    std::vector<float> mMean;
    std::vector<char> mHeldRows;
    std::vector<float> mAcross;
    std::vector<float> mSpread;
};

} // namespace Engine
