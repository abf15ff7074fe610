#pragma once
#include <cstddef>
#include <vector>

namespace SoundGen {

constexpr int kSampleRate = 44100;

// One voice before it is placed in the stereo mix, samples in [-1, 1].
using Mono = std::vector<float>;

std::size_t SecondsToFrames(double seconds);
inline double FramesToSeconds(std::size_t frames) { return static_cast<double>(frames) / kSampleRate; }

// Brings the last `seconds` of a voice smoothly down to silence: a voice
// cut off while it still rings would otherwise end on a click.
void FadeTail(Mono& voice, double seconds);

// A stereo float mix. A looping buffer is a circle: whatever is added past
// its end continues at its start, so a tail that rings over the loop point
// is heard when the loop comes round instead of being cut into a click.
class StereoBuffer {
public:
    StereoBuffer(std::size_t frames, bool loops);

    std::size_t Frames() const { return mLeft.size(); }
    bool Loops() const { return mLoops; }

    std::vector<float>& Left() { return mLeft; }
    std::vector<float>& Right() { return mRight; }
    const std::vector<float>& Left() const { return mLeft; }
    const std::vector<float>& Right() const { return mRight; }

    // Adds a voice from `start` on, placed by equal-power pan (-1 left, +1 right).
    void Add(std::size_t start, const Mono& voice, float gain, float pan);
    // Adds a voice with its own left and right signals (same length).
    void AddStereo(std::size_t start, const Mono& left, const Mono& right, float gain);
    void AddBuffer(std::size_t start, const StereoBuffer& other, float gain);

    float Peak() const;
    void Scale(float gain);

private:
    // Where the i-th sample of something added at `start` lands, or
    // Frames() when a one-shot buffer has no room for it.
    std::size_t Slot(std::size_t start, std::size_t i) const;

    std::vector<float> mLeft;
    std::vector<float> mRight;
    bool mLoops;
};

} // namespace SoundGen
