#include "tools/sounds/Filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace SoundGen {

Svf::Out Svf::Next(float input, double cutoff, double resonance, double sampleRate)
{
    const double nyquistSafe = std::clamp(cutoff, 10.0, sampleRate * 0.45);
    const double g = std::tan(std::numbers::pi * nyquistSafe / sampleRate);
    const double k = 2.0 - 1.96 * std::clamp(resonance, 0.0, 1.0);
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = input - mIc2;
    const double v1 = a1 * mIc1 + a2 * v3;
    const double v2 = mIc2 + a2 * mIc1 + a3 * v3;
    mIc1 = 2.0 * v1 - mIc1;
    mIc2 = 2.0 * v2 - mIc2;
    return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(input - k * v1 - v2)};
}

float OnePole::Low(float input, double cutoff, double sampleRate)
{
    const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * std::max(cutoff, 1.0) / sampleRate);
    mState += a * (input - mState);
    return static_cast<float>(mState);
}

} // namespace SoundGen
