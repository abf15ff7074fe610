// "data/font_mapping" as the renderer reads it at start-up.
//
// Input: the file's bytes (the loader reads at most 64 KiB). Beyond not
// crashing: both lines hold at most 95 characters, none of them half a
// character (a surrogate), a refused file leaves no targets, and a mapping
// taken without complaint pairs each of its source characters with a
// target; the complaint is one line.
#include "FuzzSupport.h"

#include "engine/render/FontMapping.h"

#include <algorithm>

namespace {

bool WholeCharacters(const std::u16string& text)
{
    return std::none_of(text.begin(), text.end(), [](char16_t c) { return c >= 0xD800 && c <= 0xDFFF; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kMaxBytes = 64 * 1024;
    std::u16string source;
    std::u16string target;
    const std::string problem = Engine::ParseFontMapping(Fuzz::Text(data, std::min(size, kMaxBytes)), source, target);
    Fuzz::Require(source.size() <= Engine::kMaxMappingChars && target.size() <= Engine::kMaxMappingChars,
                  "a mapping line holds at most 95 characters");
    Fuzz::Require(WholeCharacters(source) && WholeCharacters(target), "a mapping holds whole characters");
    Fuzz::Require(!problem.empty() || (!source.empty() && source.size() == target.size()),
                  "a mapping taken without complaint pairs every source character");
    Fuzz::Require(problem.find("no target characters read") == std::string::npos || target.empty(),
                  "a refused mapping has no targets");
    Fuzz::Require(problem.find('\n') == std::string::npos, "the complaint is one line");
    return 0;
}
