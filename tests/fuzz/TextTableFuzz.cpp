// "data/all_text", the menus' texts in five languages, as the game reads it
// at start-up.
//
// Input: the file's bytes. Beyond not crashing: the table holds every text
// id, no text holds a line break or half a character (a surrogate), and what
// was wrong with the file is one line.
#include "FuzzSupport.h"

#include "engine/ui/Localisation.h"
#include "game/config/GameText.h"

#include <algorithm>
#include <sstream>

namespace {

bool Clean(const std::u16string& text)
{
    return std::none_of(text.begin(), text.end(),
                        [](char16_t c) { return c == u'\n' || (c >= 0xD800 && c <= 0xDFFF); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream text(Fuzz::Text(data, size));
    const std::string problem = Localisation::ReadTextTable(text, GameText::kCount);
    Fuzz::Require(problem.find('\n') == std::string::npos, "the complaint is one line");
    Fuzz::Require(Localisation::EntryCount() == GameText::kCount, "the table holds every text id");
    for (std::uint32_t id = 0; id < GameText::kCount; ++id) {
        for (std::uint32_t language = 0; language < Localisation::kLanguageCount; ++language)
            Fuzz::Require(Clean(Localisation::Text(id, language)), "a text is one line of whole characters");
    }
    return 0;
}
