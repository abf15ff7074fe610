#include "engine/render/BlurKernel.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Engine {

BlurKernel BoxKernel(int side)
{
    BlurKernel kernel;
    side = std::clamp(side, 1, 4);
    const float weight = 1.0f / static_cast<float>(side * side);
    const float centre = static_cast<float>(side - 1) * 0.5f;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            kernel.taps[static_cast<std::size_t>(kernel.count++)] = {static_cast<float>(x) - centre,
                                                                      static_cast<float>(y) - centre, weight};
    return kernel;
}

BlurKernel LineKernel(const std::vector<float>& weights, int first, bool down)
{
    BlurKernel kernel;
    const std::size_t used = std::min(weights.size(), static_cast<std::size_t>(BlurKernel::kMaxTaps));
    const float total = std::accumulate(weights.begin(), weights.begin() + static_cast<std::ptrdiff_t>(used), 0.0f);
    if (!(total > 0.0f)) {
        kernel.taps[0] = {0.0f, 0.0f, 1.0f};
        kernel.count = 1;
        return kernel;
    }
    for (std::size_t i = 0; i < used; ++i) {
        const float offset = static_cast<float>(first + static_cast<int>(i));
        kernel.taps[i] = {down ? 0.0f : offset, down ? offset : 0.0f, weights[i] / total};
    }
    kernel.count = static_cast<int>(used);
    return kernel;
}

std::vector<float> GaussianWeights(float sigma, int reach)
{
    reach = std::max(reach, 0);
    std::vector<float> weights(static_cast<std::size_t>(2 * reach + 1), 0.0f);
    if (!(sigma > 0.0f)) {
        weights[static_cast<std::size_t>(reach)] = 1.0f;
        return weights;
    }
    for (int k = -reach; k <= reach; ++k)
        weights[static_cast<std::size_t>(k + reach)] = std::exp(-static_cast<float>(k * k) / (2.0f * sigma * sigma));
    return weights;
}

} // namespace Engine
