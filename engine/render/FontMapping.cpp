#include "engine/render/FontMapping.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace Engine {

namespace {

const char16_t kDefaultTarget[] = u" _Э/\":>э()?;б,юё0123456789ЖжБ.ЮЁ!ФИСВУАПРШОЛДЬТЩЗЙКЫЕГМЦЧНЯx\\ъ<-=фисвуапршолдьтщзйкыегмцчняX|Ъ+";
static_assert(sizeof(kDefaultTarget) / sizeof(char16_t) == kMaxMappingChars + 1, "one target per printable ASCII");

std::u16string DefaultSource()
{
    std::u16string source;
    for (char16_t c = 32; c <= 126; ++c)
        source.push_back(c);
    return source;
}

// Length of the UTF-8 sequence that starts with this byte, 0 for a byte that
// cannot start one.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

} // namespace

std::u16string& FontMappingSource()
{
    static std::u16string source;
    return source;
}

std::u16string& FontMappingTarget()
{
    static std::u16string target;
    return target;
}

std::u16string DecodeUtf8(const std::string& bytes, std::size_t* dropped)
{
    static constexpr char32_t kMinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
    std::size_t bad = 0;
    std::u16string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int length = SequenceLength(lead);
        if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size()) {
            ++bad;
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : (lead & (0x7F >> length));
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            ++bad;
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(length);
        bool overlong = code < kMinForLength[length];
        bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (!overlong && !surrogate && code <= 0xFFFF)
            out.push_back(static_cast<char16_t>(code));
        else
            ++bad;
    }
    if (dropped)
        *dropped = bad;
    return out;
}

std::string ParseFontMapping(const std::string& bytes, std::u16string& source, std::u16string& target)
{
    std::size_t dropped = 0;
    const std::u16string text = DecodeUtf8(bytes, &dropped);
    const std::size_t firstEnd = text.find(u'\n');
    const std::u16string first = text.substr(0, firstEnd);
    source = first.substr(0, kMaxMappingChars);
    target.clear();
    std::string problem;
    const auto add = [&problem](const std::string& what) { problem += (problem.empty() ? "" : "; ") + what; };
    if (dropped > 0)
        add("bytes that are not UTF-8 characters up to U+FFFF were left out");
    // A first line that does not fit ends the reading: the second line is
    // not taken for the targets of a source that was cut.
    if (first.size() > kMaxMappingChars) {
        add("line 1 holds more than " + std::to_string(kMaxMappingChars) + " characters; no target characters read");
        return problem;
    }
    std::u16string second;
    if (firstEnd != std::u16string::npos) {
        const std::size_t secondEnd = text.find(u'\n', firstEnd + 1);
        second = text.substr(firstEnd + 1, secondEnd == std::u16string::npos ? secondEnd : secondEnd - firstEnd - 1);
        target = second.substr(0, kMaxMappingChars);
    }
    // Position k of one line pairs with position k of the other: a source
    // character without a target maps to "!".
    if (source.empty())
        add("no source characters on line 1");
    else if (second.size() != source.size())
        add(std::to_string(source.size()) + " source characters on line 1 but " + std::to_string(second.size())
            + " target characters on line 2");
    return problem;
}

void LoadFontMapping()
{
    const char* const path = "data/font_mapping";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: could not be opened (%s); the built-in mapping is used\n", path,
                     std::strerror(errno));
        FontMappingSource() = DefaultSource();
        FontMappingTarget() = kDefaultTarget;
        return;
    }
    // Two lines of 95 characters fit many times over; a huge file is not
    // read further than this.
    constexpr std::size_t kMaxBytes = 64 * 1024;
    std::string bytes(kMaxBytes, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(kMaxBytes));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    const std::string problem = ParseFontMapping(bytes, FontMappingSource(), FontMappingTarget());
    if (!problem.empty())
        std::fprintf(stderr, "%s: %s\n", path, problem.c_str());
}

} // namespace Engine
