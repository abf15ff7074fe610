// WAV files as the game loads them: plain RIFF/WAVE, 16-bit PCM.
//
// Written (44-byte header, all integers little-endian):
//   0  "RIFF"   4  u32 file size - 8   8  "WAVE"
//   12 "fmt "   16 u32 16              20 u16 format 1 (PCM)
//   22 u16 channels (2)                24 u32 sample rate (44100)
//   28 u32 byte rate = rate * align    32 u16 block align = channels * 2
//   34 u16 bits per sample (16)
//   36 "data"   40 u32 byte count      44 samples, i16, left then right
//
// Read: any chunk order after "WAVE"; unknown chunks are skipped; every
// chunk is padded to an even size. Refused with a message: a file shorter
// than 12 bytes or larger than kMaxFileBytes, a missing RIFF/WAVE tag, a
// chunk whose size runs past the end, a "fmt " chunk shorter than 16 bytes,
// a format other than PCM, channels outside 1..8, bits other than 16, a
// sample rate outside 1..384000, a block align that disagrees with the
// channels, a missing "fmt " or "data" chunk, or a data size that is not a
// whole number of frames.
#include "tools/sounds/WavFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace SoundGen {
namespace {

constexpr std::size_t kMaxFileBytes = 256u * 1024u * 1024u;
constexpr std::uint16_t kMaxChannels = 8;
constexpr std::uint32_t kMaxSampleRate = 384000;
constexpr std::uint16_t kFormatPcm = 1;

void PutTag(std::vector<std::uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t GetU16(const std::vector<std::uint8_t>& in, std::size_t at)
{
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

std::uint32_t GetU32(const std::vector<std::uint8_t>& in, std::size_t at)
{
    return static_cast<std::uint32_t>(GetU16(in, at)) | (static_cast<std::uint32_t>(GetU16(in, at + 2)) << 16);
}

bool TagIs(const std::vector<std::uint8_t>& in, std::size_t at, const char* tag)
{
    return std::equal(tag, tag + 4, in.begin() + static_cast<std::ptrdiff_t>(at));
}

WavParse Refuse(std::string message)
{
    WavParse result;
    result.error = std::move(message);
    return result;
}

struct Format {
    bool seen = false;
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
};

std::string CheckFormat(const Format& format)
{
    if (format.tag != kFormatPcm)
        return "format " + std::to_string(format.tag) + " is not PCM";
    if (format.channels == 0 || format.channels > kMaxChannels)
        return "channel count " + std::to_string(format.channels) + " is outside 1.." + std::to_string(kMaxChannels);
    if (format.bits != 16)
        return std::to_string(format.bits) + " bits per sample, only 16 are read";
    if (format.sampleRate == 0 || format.sampleRate > kMaxSampleRate)
        return "sample rate " + std::to_string(format.sampleRate) + " is out of range";
    if (format.blockAlign != format.channels * 2)
        return "block align " + std::to_string(format.blockAlign) + " does not match the channels";
    return {};
}

Format ReadFormat(const std::vector<std::uint8_t>& in, std::size_t body)
{
    Format format;
    format.seen = true;
    format.tag = GetU16(in, body);
    format.channels = GetU16(in, body + 2);
    format.sampleRate = GetU32(in, body + 4);
    format.blockAlign = GetU16(in, body + 12);
    format.bits = GetU16(in, body + 14);
    return format;
}

std::vector<std::int16_t> ReadSamples(const std::vector<std::uint8_t>& in, std::size_t body, std::size_t bytes)
{
    std::vector<std::int16_t> samples(bytes / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(GetU16(in, body + i * 2));
    return samples;
}

} // namespace

std::int16_t ToPcm16(float sample)
{
    if (!(sample == sample))
        return 0; // NaN
    const float clamped = std::clamp(sample, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lround(clamped * 32767.0f));
}

std::vector<std::uint8_t> EncodeWav(const StereoBuffer& buffer)
{
    const std::uint16_t channels = 2;
    const std::uint16_t align = channels * 2;
    const auto dataBytes = static_cast<std::uint32_t>(buffer.Frames() * align);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutU32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, kFormatPcm);
    PutU16(out, channels);
    PutU32(out, kSampleRate);
    PutU32(out, kSampleRate * align);
    PutU16(out, align);
    PutU16(out, 16);
    PutTag(out, "data");
    PutU32(out, dataBytes);
    for (std::size_t i = 0; i < buffer.Frames(); ++i) {
        PutU16(out, static_cast<std::uint16_t>(ToPcm16(buffer.Left()[i])));
        PutU16(out, static_cast<std::uint16_t>(ToPcm16(buffer.Right()[i])));
    }
    return out;
}

WavParse ParseWav(const std::vector<std::uint8_t>& in)
{
    if (in.size() < 12)
        return Refuse("file of " + std::to_string(in.size()) + " bytes is too short for a RIFF header");
    if (in.size() > kMaxFileBytes)
        return Refuse("file of " + std::to_string(in.size()) + " bytes is too large");
    if (!TagIs(in, 0, "RIFF") || !TagIs(in, 8, "WAVE"))
        return Refuse("not a RIFF/WAVE file");

    Format format;
    std::size_t at = 12;
    while (in.size() - at >= 8) {
        const std::string tag(in.begin() + static_cast<std::ptrdiff_t>(at), in.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::size_t size = GetU32(in, at + 4);
        const std::size_t body = at + 8;
        if (size > in.size() - body)
            return Refuse("chunk '" + tag + "' of " + std::to_string(size) + " bytes runs past the end of the file");
        if (tag == "fmt ") {
            if (size < 16)
                return Refuse("'fmt ' chunk of " + std::to_string(size) + " bytes is shorter than 16");
            format = ReadFormat(in, body);
            if (std::string problem = CheckFormat(format); !problem.empty())
                return Refuse(problem);
        } else if (tag == "data") {
            if (!format.seen)
                return Refuse("'data' chunk comes before any 'fmt ' chunk");
            if (size % format.blockAlign != 0)
                return Refuse("data size " + std::to_string(size) + " is not a whole number of frames");
            WavParse result;
            result.ok = true;
            result.data = {format.sampleRate, format.channels, format.bits, ReadSamples(in, body, size)};
            return result;
        }
        at = body + size + (size & 1u);
        if (at > in.size())
            break;
    }
    return Refuse(format.seen ? "no 'data' chunk" : "no 'fmt ' chunk");
}

bool SaveWav(const std::string& path, const StereoBuffer& buffer, std::string& error)
{
    // The RIFF sizes are 32-bit; a longer mix would write a header that lies.
    if (buffer.Frames() > (0xFFFFFFFFull - 36) / 4) {
        error = path + ": too long for a WAV file";
        return false;
    }
    const std::vector<std::uint8_t> bytes = EncodeWav(buffer);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

WavParse LoadWav(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Refuse("cannot open " + path);
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length < 0 || static_cast<std::uint64_t>(length) > kMaxFileBytes)
        return Refuse(path + " is too large or unreadable");
    file.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    file.read(reinterpret_cast<char*>(bytes.data()), length);
    if (!file)
        return Refuse("cannot read " + path);
    return ParseWav(bytes);
}

} // namespace SoundGen
