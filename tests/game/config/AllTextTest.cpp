#include "engine/ui/Localisation.h"
#include "game/config/GameText.h"
#include "support/FileText.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {

// The ids the menus show: buttons, labels, perk names and the perk pages'
// headings, credits, language names and tutorials with their explanations.
std::set<std::uint32_t> ShownIds()
{
    std::set<std::uint32_t> ids;
    for (std::uint32_t id = 0; id <= 25; ++id)
        ids.insert(id);
    for (std::uint32_t id : {27u, 28u, 29u, 31u, 32u, 33u, 34u, 35u, 36u, 37u, 38u, 39u, 40u, 73u, 74u, 80u, 81u, 82u, 83u, 84u, 85u, 92u, 97u, 126u})
        ids.insert(id);
    for (std::uint32_t id = 41; id <= 72; ++id)
        ids.insert(id);
    for (std::uint32_t id = 75; id <= 79; ++id)
        ids.insert(id);
    for (std::uint32_t id = 86; id <= 91; ++id)
        ids.insert(id);
    for (std::uint32_t id = 98; id <= 125; ++id) {
        if (id != 118 && id != 119)
            ids.insert(id);
    }
    return ids;
}

// Drawn in the Latin font, which holds Latin-1: what else a Latin column
// holds would show as the font's fallback glyph. The language names are
// drawn in their own script's font, so Russian's name may be Cyrillic.
bool LatinFontCanDraw(const std::u16string& text, std::uint32_t id)
{
    return id == 77 || std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
}

bool HasCyrillic(const std::u16string& text)
{
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x400 && c < 0x500; });
}

TEST(AllText, FiveLanguagesOfEveryShownTextIn635Lines)
{
    const std::string file = ReadFileText("data/all_text");
    ASSERT_EQ(std::count(file.begin(), file.end(), '\n'), 635);
    ASSERT_TRUE(GameText::Load("data/all_text"));

    const std::set<std::uint32_t> shown = ShownIds();
    for (std::uint32_t id = 0; id < GameText::kCount; ++id) {
        for (std::uint32_t language = 0; language < Localisation::kLanguageCount; ++language) {
            const std::u16string& text = Localisation::Text(id, language);
            SCOPED_TRACE("id " + std::to_string(id) + " language " + std::to_string(language));
            EXPECT_EQ(text.empty(), !shown.contains(id));
            EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos);
            if (language != Localisation::kCyrillicLanguage) {
                EXPECT_TRUE(LatinFontCanDraw(text, id));
            }
        }
    }
    // Russian is written in Cyrillic, the others are not copies of English.
    EXPECT_TRUE(HasCyrillic(Localisation::Text(0, 2)));
    EXPECT_TRUE(HasCyrillic(Localisation::Text(99, 2)));
    for (std::uint32_t language : {1u, 3u, 4u})
        EXPECT_NE(Localisation::Text(9, language), Localisation::Text(9, 0));
    // A perk label reads "prefix" + name.
    EXPECT_EQ(Localisation::Text(20, 0), u"Active: ");
}

} // namespace
