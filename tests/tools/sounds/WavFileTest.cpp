#include "tools/sounds/WavFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

using SoundGen::ParseWav;
using SoundGen::StereoBuffer;

StereoBuffer Ramp(std::size_t frames)
{
    StereoBuffer buffer(frames, false);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.Left()[i] = -1.0f + 2.0f * static_cast<float>(i) / static_cast<float>(frames - 1);
        buffer.Right()[i] = 0.5f - buffer.Left()[i] * 0.25f;
    }
    return buffer;
}

// Writes `size` bytes of the value, little-endian, at `at`.
void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(WavFile, SaveThenLoadGivesBackTheSamplesAndFormat)
{
    ScopedTempDir dir;
    const StereoBuffer original = Ramp(1001);
    std::string error;
    ASSERT_TRUE(SoundGen::SaveWav("ramp.wav", original, error)) << error;

    const SoundGen::WavParse loaded = SoundGen::LoadWav("ramp.wav");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.data.sampleRate, 44100u);
    EXPECT_EQ(loaded.data.channels, 2);
    EXPECT_EQ(loaded.data.bitsPerSample, 16);
    ASSERT_EQ(loaded.data.Frames(), original.Frames());
    for (std::size_t i = 0; i < original.Frames(); ++i) {
        ASSERT_EQ(loaded.data.samples[2 * i], SoundGen::ToPcm16(original.Left()[i])) << i;
        ASSERT_EQ(loaded.data.samples[2 * i + 1], SoundGen::ToPcm16(original.Right()[i])) << i;
    }
    // The plain 44-byte header the game's loader expects.
    EXPECT_EQ(std::filesystem::file_size("ramp.wav"), 44u + 1001u * 4u);
}

TEST(WavFile, OvershootSaturatesInsteadOfWrapping)
{
    EXPECT_EQ(SoundGen::ToPcm16(1.7f), 32767);
    EXPECT_EQ(SoundGen::ToPcm16(-3.0f), -32767);
    EXPECT_EQ(SoundGen::ToPcm16(0.0f), 0);
    EXPECT_EQ(SoundGen::ToPcm16(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(SoundGen::ToPcm16(std::numeric_limits<float>::infinity()), 32767);
}

TEST(WavFile, SkipsUnknownAndOddSizedChunks)
{
    std::vector<std::uint8_t> bytes = SoundGen::EncodeWav(Ramp(4));
    // An odd-sized "LIST" chunk with its pad byte, between the header and "fmt ".
    const std::vector<std::uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 12, list.begin(), list.end());
    Put(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 8), 4);
    const SoundGen::WavParse parsed = ParseWav(bytes);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.data.Frames(), 4u);
}

TEST(WavFile, RefusesBrokenFilesNamingTheProblem)
{
    const std::vector<std::uint8_t> good = SoundGen::EncodeWav(Ramp(8));
    ASSERT_TRUE(ParseWav(good).ok);
    struct Broken {
        std::size_t at;
        std::uint32_t value;
        int size; // 0: the file is cut to `at` bytes instead
        const char* problem;
    };
    const Broken cases[] = {
        {4, 0, 0, "too short"},
        {8, 'X', 1, "RIFF/WAVE"},
        {40, 0xFFFFFFF0u, 4, "runs past the end"}, // data size far past the end
        {good.size() - 3, 0, 0, "runs past the end"}, // the last frame cut short
        {16, 12, 4, "shorter than 16"},
        {20, 3, 2, "not PCM"}, // IEEE float
        {22, 0, 2, "channel count"},
        {34, 8, 2, "bits per sample"},
        {24, 0, 4, "sample rate"},
        {32, 0, 2, "block align"}, // would divide by zero when counting frames
        {40, 30, 4, "whole number of frames"}, // 7.5 frames
        {36, 0, 0, "no 'data' chunk"}, // header and format only
        {12, 'x', 1, "before any 'fmt '"}, // the format chunk is no longer recognised
    };
    for (const Broken& broken : cases) {
        SCOPED_TRACE(broken.problem);
        std::vector<std::uint8_t> bytes = good;
        if (broken.size == 0)
            bytes.resize(broken.at);
        else
            Put(bytes, broken.at, broken.value, broken.size);
        const SoundGen::WavParse parsed = ParseWav(bytes);
        EXPECT_FALSE(parsed.ok);
        EXPECT_NE(parsed.error.find(broken.problem), std::string::npos) << parsed.error;
    }
}

TEST(WavFile, MissingOrUnwritableFilesReportFailure)
{
    ScopedTempDir dir;
    EXPECT_NE(SoundGen::LoadWav("absent.wav").error.find("cannot open"), std::string::npos);
    std::string error;
    EXPECT_FALSE(SoundGen::SaveWav("no/such/folder/out.wav", Ramp(2), error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

} // namespace
