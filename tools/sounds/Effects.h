#pragma once
#include "tools/sounds/StereoBuffer.h"

#include <array>
#include <cstddef>
#include <vector>

namespace SoundGen {

// Runs a stateful effect over a buffer. On a looping buffer the effect first
// hears the whole loop once without writing, so it enters the real pass
// already ringing with the loop's end: its output at the first sample
// carries on from its output at the last one.
template <class Step>
void RunEffect(StereoBuffer& buffer, Step&& step)
{
    if (buffer.Loops()) {
        for (std::size_t i = 0; i < buffer.Frames(); ++i) {
            float left = buffer.Left()[i];
            float right = buffer.Right()[i];
            step(left, right);
        }
    }
    for (std::size_t i = 0; i < buffer.Frames(); ++i)
        step(buffer.Left()[i], buffer.Right()[i]);
}

// The same for one signal.
template <class Step>
void RunEffect(Mono& signal, bool loops, Step&& step)
{
    if (loops) {
        for (float sample : signal)
            step(sample);
    }
    for (float& sample : signal)
        step(sample);
}

// A small room: eight damped combs and four all-passes per side.
class Reverb {
public:
    Reverb(float roomSize, float damping);
    void Process(float inLeft, float inRight, float& outLeft, float& outRight);

private:
    struct Comb {
        std::vector<float> line;
        std::size_t at = 0;
        float store = 0.0f;
    };
    struct AllPass {
        std::vector<float> line;
        std::size_t at = 0;
    };
    float RunComb(Comb& comb, float input) const;
    static float RunAllPass(AllPass& pass, float input);

    std::array<Comb, 8> mCombsLeft;
    std::array<Comb, 8> mCombsRight;
    std::array<AllPass, 4> mPassesLeft;
    std::array<AllPass, 4> mPassesRight;
    float mFeedback;
    float mDamping;
};

// Mixes a reverberated copy of the buffer into it.
void AddReverb(StereoBuffer& buffer, float wet, float roomSize, float damping);
// Ping-pong echo: repeats every `delaySeconds`, alternating sides.
void AddEcho(StereoBuffer& buffer, double delaySeconds, float feedback, float wet);
// Gentle saturation: rounds off peaks instead of cutting them.
void SoftClip(StereoBuffer& buffer, float drive);
// Scales the buffer so that its peak becomes `peak`. A one-shot also gets a
// few milliseconds of fade at both ends so it never starts or stops on a
// step; a loop is left whole, since its ends meet each other.
void Finish(StereoBuffer& buffer, float peak);

} // namespace SoundGen
