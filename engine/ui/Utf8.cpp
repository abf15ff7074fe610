#include "engine/ui/Utf8.h"

#include <cstdint>

namespace Engine::UI {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length a lead byte announces and the bits it carries; 0 for a byte
// that cannot start a sequence.
int SequenceLength(unsigned char lead, std::uint32_t& bits)
{
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        bits = lead & 0x1F;
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        bits = lead & 0x0F;
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        bits = lead & 0x07;
        return 4;
    }
    return 0;
}

bool FitsOneUnit(std::uint32_t code, int length)
{
    constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool overlong = code < kSmallest[length];
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return !overlong && !surrogate && code <= 0xFFFF;
}

} // namespace

std::u16string DecodeUtf8(std::string_view bytes, std::size_t* replaced)
{
    std::size_t bad = 0;
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::uint32_t code = 0;
        const int length = SequenceLength(static_cast<unsigned char>(bytes[i]), code);
        if (length == 0) {
            text.push_back(kReplacement);
            ++bad;
            ++i;
            continue;
        }
        int taken = 1;
        while (taken < length && i + taken < bytes.size()
               && IsContinuation(static_cast<unsigned char>(bytes[i + taken]))) {
            code = (code << 6) | (static_cast<unsigned char>(bytes[i + taken]) & 0x3F);
            ++taken;
        }
        // A cut sequence is replaced once and decoding resumes at the byte
        // that broke it.
        const bool fits = taken == length && FitsOneUnit(code, length);
        text.push_back(fits ? static_cast<char16_t>(code) : kReplacement);
        bad += fits ? 0 : 1;
        i += static_cast<std::size_t>(taken);
    }
    if (replaced)
        *replaced = bad;
    return text;
}

} // namespace Engine::UI
