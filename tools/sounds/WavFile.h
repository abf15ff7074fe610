#pragma once
#include "tools/sounds/StereoBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SoundGen {

// The PCM contents of a WAV file, samples interleaved frame by frame.
struct WavData {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;
    std::vector<std::int16_t> samples;

    std::size_t Frames() const { return channels == 0 ? 0 : samples.size() / channels; }
};

struct WavParse {
    bool ok = false;
    std::string error; // names what was wrong when !ok
    WavData data;
};

// Float to 16-bit with clamping: an overshoot saturates instead of
// wrapping round to the opposite sign.
std::int16_t ToPcm16(float sample);

std::vector<std::uint8_t> EncodeWav(const StereoBuffer& buffer);
WavParse ParseWav(const std::vector<std::uint8_t>& bytes);

bool SaveWav(const std::string& path, const StereoBuffer& buffer, std::string& error);
WavParse LoadWav(const std::string& path);

} // namespace SoundGen
