#include "tools/sounds/Effects.h"

#include <algorithm>
#include <cmath>

namespace SoundGen {
namespace {

// Delay lengths in samples at 44.1 kHz, mutually prime so the echoes never
// line up into a pitch; the right side is stretched for width.
constexpr std::array<std::size_t, 8> kCombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<std::size_t, 4> kPassLengths = {556, 441, 341, 225};
constexpr std::size_t kStereoSpread = 23;

} // namespace

Reverb::Reverb(float roomSize, float damping)
    : mFeedback(0.7f + 0.28f * std::clamp(roomSize, 0.0f, 1.0f)), mDamping(std::clamp(damping, 0.0f, 1.0f) * 0.4f)
{
    for (std::size_t i = 0; i < kCombLengths.size(); ++i) {
        mCombsLeft[i].line.assign(kCombLengths[i], 0.0f);
        mCombsRight[i].line.assign(kCombLengths[i] + kStereoSpread, 0.0f);
    }
    for (std::size_t i = 0; i < kPassLengths.size(); ++i) {
        mPassesLeft[i].line.assign(kPassLengths[i], 0.0f);
        mPassesRight[i].line.assign(kPassLengths[i] + kStereoSpread, 0.0f);
    }
}

float Reverb::RunComb(Comb& comb, float input) const
{
    const float output = comb.line[comb.at];
    comb.store = output * (1.0f - mDamping) + comb.store * mDamping;
    comb.line[comb.at] = input + comb.store * mFeedback;
    comb.at = (comb.at + 1) % comb.line.size();
    return output;
}

float Reverb::RunAllPass(AllPass& pass, float input)
{
    const float delayed = pass.line[pass.at];
    pass.line[pass.at] = input + delayed * 0.5f;
    pass.at = (pass.at + 1) % pass.line.size();
    return delayed - input;
}

void Reverb::Process(float inLeft, float inRight, float& outLeft, float& outRight)
{
    const float input = (inLeft + inRight) * 0.015f;
    float left = 0.0f;
    float right = 0.0f;
    for (std::size_t i = 0; i < mCombsLeft.size(); ++i) {
        left += RunComb(mCombsLeft[i], input);
        right += RunComb(mCombsRight[i], input);
    }
    for (std::size_t i = 0; i < mPassesLeft.size(); ++i) {
        left = RunAllPass(mPassesLeft[i], left);
        right = RunAllPass(mPassesRight[i], right);
    }
    outLeft = left;
    outRight = right;
}

void AddReverb(StereoBuffer& buffer, float wet, float roomSize, float damping)
{
    Reverb reverb(roomSize, damping);
    RunEffect(buffer, [&](float& left, float& right) {
        float outLeft = 0.0f;
        float outRight = 0.0f;
        reverb.Process(left, right, outLeft, outRight);
        left += outLeft * wet;
        right += outRight * wet;
    });
}

void AddEcho(StereoBuffer& buffer, double delaySeconds, float feedback, float wet)
{
    const std::size_t delay = std::max<std::size_t>(1, SecondsToFrames(delaySeconds));
    std::vector<float> lineLeft(delay, 0.0f);
    std::vector<float> lineRight(delay, 0.0f);
    std::size_t at = 0;
    RunEffect(buffer, [&](float& left, float& right) {
        const float echoLeft = lineLeft[at];
        const float echoRight = lineRight[at];
        // Crossed feedback: each repeat comes from the other side.
        lineLeft[at] = (left + right) * 0.5f + echoRight * feedback;
        lineRight[at] = echoLeft * feedback;
        at = (at + 1) % delay;
        left += echoLeft * wet;
        right += echoRight * wet;
    });
}

void SoftClip(StereoBuffer& buffer, float drive)
{
    const float norm = 1.0f / std::tanh(drive);
    for (std::size_t i = 0; i < buffer.Frames(); ++i) {
        buffer.Left()[i] = std::tanh(buffer.Left()[i] * drive) * norm;
        buffer.Right()[i] = std::tanh(buffer.Right()[i] * drive) * norm;
    }
}

void Finish(StereoBuffer& buffer, float peak)
{
    const float current = buffer.Peak();
    if (current > 0.0f)
        buffer.Scale(peak / current);
    if (buffer.Loops())
        return;
    const std::size_t frames = buffer.Frames();
    const std::size_t fadeIn = std::min(frames / 2, SecondsToFrames(0.001));
    const std::size_t fadeOut = std::min(frames / 2, SecondsToFrames(0.006));
    for (std::size_t i = 0; i < fadeIn; ++i) {
        const float gain = static_cast<float>(i) / static_cast<float>(fadeIn);
        buffer.Left()[i] *= gain;
        buffer.Right()[i] *= gain;
    }
    for (std::size_t i = 0; i < fadeOut; ++i) {
        const float gain = static_cast<float>(i) / static_cast<float>(fadeOut);
        buffer.Left()[frames - 1 - i] *= gain;
        buffer.Right()[frames - 1 - i] *= gain;
    }
}

} // namespace SoundGen
