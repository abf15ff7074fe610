#include "tools/sounds/StereoBuffer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace SoundGen {

std::size_t SecondsToFrames(double seconds)
{
    return seconds <= 0.0 ? 0 : static_cast<std::size_t>(std::llround(seconds * kSampleRate));
}

void FadeTail(Mono& voice, double seconds)
{
    const std::size_t frames = std::min(voice.size(), SecondsToFrames(seconds));
    for (std::size_t i = 0; i < frames; ++i)
        voice[voice.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(frames);
}

StereoBuffer::StereoBuffer(std::size_t frames, bool loops)
    : mLeft(frames, 0.0f), mRight(frames, 0.0f), mLoops(loops)
{
}

std::size_t StereoBuffer::Slot(std::size_t start, std::size_t i) const
{
    const std::size_t frames = Frames();
    if (frames == 0)
        return 0;
    if (mLoops)
        return (start % frames + i % frames) % frames;
    const std::size_t slot = start + i;
    return slot < start || slot >= frames ? frames : slot;
}

void StereoBuffer::Add(std::size_t start, const Mono& voice, float gain, float pan)
{
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * std::numbers::pi_v<float> / 4.0f;
    // Scaled so that a centred voice keeps its level on each side.
    const float left = std::cos(angle) * std::numbers::sqrt2_v<float> * gain;
    const float right = std::sin(angle) * std::numbers::sqrt2_v<float> * gain;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const std::size_t slot = Slot(start, i);
        if (slot >= Frames())
            break;
        mLeft[slot] += voice[i] * left;
        mRight[slot] += voice[i] * right;
    }
}

void StereoBuffer::AddStereo(std::size_t start, const Mono& left, const Mono& right, float gain)
{
    const std::size_t count = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t slot = Slot(start, i);
        if (slot >= Frames())
            break;
        mLeft[slot] += left[i] * gain;
        mRight[slot] += right[i] * gain;
    }
}

void StereoBuffer::AddBuffer(std::size_t start, const StereoBuffer& other, float gain)
{
    AddStereo(start, other.Left(), other.Right(), gain);
}

float StereoBuffer::Peak() const
{
    float peak = 0.0f;
    for (std::size_t i = 0; i < Frames(); ++i)
        peak = std::max({peak, std::fabs(mLeft[i]), std::fabs(mRight[i])});
    return peak;
}

void StereoBuffer::Scale(float gain)
{
    for (std::size_t i = 0; i < Frames(); ++i) {
        mLeft[i] *= gain;
        mRight[i] *= gain;
    }
}

} // namespace SoundGen
