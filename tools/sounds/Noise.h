#pragma once
#include <cstdint>

namespace SoundGen {

// White noise from a fixed seed (xorshift32), so every build writes the same
// files and two sounds never share a stream.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : mState(seed == 0 ? 0x9E3779B9u : seed) {}

    std::uint32_t NextBits()
    {
        mState ^= mState << 13;
        mState ^= mState >> 17;
        mState ^= mState << 5;
        return mState;
    }
    // Uniform in [-1, 1).
    float Next() { return static_cast<float>(NextBits() >> 8) / 8388608.0f - 1.0f; }
    // Uniform in [0, 1).
    float Unit() { return static_cast<float>(NextBits() >> 8) / 16777216.0f; }

private:
    std::uint32_t mState;
};

} // namespace SoundGen
