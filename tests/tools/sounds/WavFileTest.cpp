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

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::string ErrorOf(const std::vector<std::uint8_t>& bytes)
{
    const SoundGen::WavParse parsed = ParseWav(bytes);
    EXPECT_FALSE(parsed.ok);
    return parsed.error;
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
    EXPECT_EQ(loaded.data.samples.front(), -32767);
    EXPECT_EQ(loaded.data.samples[2 * 1000], 32767);
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
    PutU32(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 8));
    const SoundGen::WavParse parsed = ParseWav(bytes);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.data.Frames(), 4u);
}

TEST(WavFile, RefusesBrokenFilesNamingTheProblem)
{
    const std::vector<std::uint8_t> good = SoundGen::EncodeWav(Ramp(8));
    ASSERT_TRUE(ParseWav(good).ok);

    EXPECT_NE(ErrorOf({'R', 'I', 'F', 'F'}).find("too short"), std::string::npos);

    std::vector<std::uint8_t> bytes = good;
    bytes[8] = 'X';
    EXPECT_NE(ErrorOf(bytes).find("RIFF/WAVE"), std::string::npos);

    bytes = good;
    PutU32(bytes, 40, 0xFFFFFFF0u); // data size far past the end
    EXPECT_NE(ErrorOf(bytes).find("runs past the end"), std::string::npos);

    bytes = good;
    bytes.resize(good.size() - 3); // the last frame cut short
    EXPECT_NE(ErrorOf(bytes).find("runs past the end"), std::string::npos);

    bytes = good;
    PutU32(bytes, 16, 12);
    EXPECT_NE(ErrorOf(bytes).find("shorter than 16"), std::string::npos);

    bytes = good;
    PutU16(bytes, 20, 3); // IEEE float
    EXPECT_NE(ErrorOf(bytes).find("not PCM"), std::string::npos);

    bytes = good;
    PutU16(bytes, 22, 0);
    EXPECT_NE(ErrorOf(bytes).find("channel count"), std::string::npos);

    bytes = good;
    PutU16(bytes, 34, 8);
    EXPECT_NE(ErrorOf(bytes).find("bits per sample"), std::string::npos);

    bytes = good;
    PutU32(bytes, 24, 0);
    EXPECT_NE(ErrorOf(bytes).find("sample rate"), std::string::npos);

    bytes = good;
    PutU16(bytes, 32, 0); // would divide by zero when counting frames
    EXPECT_NE(ErrorOf(bytes).find("block align"), std::string::npos);

    bytes = good;
    PutU32(bytes, 40, 30); // 7.5 frames
    EXPECT_NE(ErrorOf(bytes).find("whole number of frames"), std::string::npos);

    bytes = good;
    bytes.resize(36); // header and format only
    EXPECT_NE(ErrorOf(bytes).find("no 'data' chunk"), std::string::npos);

    bytes = good;
    bytes[12] = 'x'; // the format chunk is no longer recognised
    EXPECT_NE(ErrorOf(bytes).find("before any 'fmt '"), std::string::npos);
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
