#pragma once
#include <array>
#include <glm/glm.hpp>
#include <vector>

namespace Engine {

// The taps of one pass of the "Blur" program: up to kMaxTaps texels read
// around each pixel, at offsets in texels of the source from the pixel's
// own place there, each with its weight. The program always reads all of
// them (on the software renderer a loop or a branch would cost more than
// the reads it saves), so unused taps carry no weight.
struct BlurKernel {
    static constexpr int kMaxTaps = 17;

    // x and y: the offset in texels; z: the weight.
    std::array<glm::vec3, kMaxTaps> taps{};
    int count = 0;
};

// Every texel of a side x side square round the pixel, equally weighted: a
// side of 4 is the mean of the 4 x 4 block that one pixel of a target a
// quarter the size covers. At most 4.
BlurKernel BoxKernel(int side);

// One line of texels through the pixel, across (x) or down (y), `weights`
// for the offsets first, first + 1 and so on; scaled to sum to one. At
// most kMaxTaps weights are used.
BlurKernel LineKernel(const std::vector<float>& weights, int first, bool down);

// Weights of a Gaussian of standard deviation `sigma` texels at the offsets
// -reach to reach (a sigma of zero or less is the centre alone).
std::vector<float> GaussianWeights(float sigma, int reach);

} // namespace Engine
