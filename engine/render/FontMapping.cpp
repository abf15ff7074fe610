#include "engine/render/FontMapping.h"

#include <cstdio>
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

std::u16string DecodeUtf8(const std::string& bytes)
{
    static constexpr char32_t kMinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
    std::u16string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int length = SequenceLength(lead);
        if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size()) {
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
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(length);
        bool overlong = code < kMinForLength[length];
        bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (!overlong && !surrogate && code <= 0xFFFF)
            out.push_back(static_cast<char16_t>(code));
    }
    return out;
}

bool ParseFontMapping(const std::string& bytes, std::u16string& source, std::u16string& target)
{
    std::u16string text = DecodeUtf8(bytes);
    std::size_t firstEnd = text.find(u'\n');
    std::u16string first = text.substr(0, firstEnd);
    source = first.substr(0, kMaxMappingChars);
    target.clear();
    // A first line that does not fit ends the reading: the second line is
    // not taken for the targets of a source that was cut.
    if (first.size() > kMaxMappingChars)
        return false;
    if (firstEnd != std::u16string::npos) {
        std::size_t secondEnd = text.find(u'\n', firstEnd + 1);
        std::size_t length = secondEnd == std::u16string::npos ? std::u16string::npos : secondEnd - firstEnd - 1;
        target = text.substr(firstEnd + 1, length).substr(0, kMaxMappingChars);
    }
    return true;
}

void LoadFontMapping()
{
    std::ifstream file("data/font_mapping", std::ios::binary);
    if (!file) {
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
    if (!ParseFontMapping(bytes, FontMappingSource(), FontMappingTarget()))
        std::fprintf(stderr, "data/font_mapping: line 1 holds more than %zu characters; no target characters read\n",
                     kMaxMappingChars);
}

} // namespace Engine
