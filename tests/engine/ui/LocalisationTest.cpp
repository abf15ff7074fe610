#include "engine/render/Font.h"
#include "engine/render/Renderer.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/TextComps.h"
#include "engine/ui/Utf8.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/FreshProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Engine::UI::DecodeUtf8;

// The size of the game's table, 635 lines.
constexpr std::uint32_t kTexts = 127;

// "line 0" to "line 634", one per line.
std::string NumberedTable(int lines, const char* ending = "\n")
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "line " + std::to_string(i) + ending;
    return text;
}

TEST(Utf8, DecodesToSixteenBitsAndReplacesWhatDoesNotFit)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"ASCII", "Play", u"Play"},
        {"two bytes", "Zur\xC3\xBC" "ck", u"Zurück"},
        {"Cyrillic", "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\xD1\x82\xD1\x8C", u"Играть"},
        {"three bytes", "\xE2\x82\xAC", u"€"},
        {"above U+FFFF", "a\xF0\x9F\x98\x80" "b", u"a\uFFFDb"},
        {"stray continuation", "a\x80" "b", u"a\uFFFDb"},
        {"cut sequence", "a\xC3", u"a\uFFFD"},
        {"cut before ASCII", "\xE2\x82" "x", u"\uFFFDx"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD"},
        {"surrogate", "\xED\xA0\x80", u"\uFFFD"},
        {"invalid lead", "\xFF" "z", u"\uFFFDz"},
        {"empty", "", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeUtf8(c.bytes), c.text) << c.what;
}

TEST(TextTable, EntryKLanguageJIsLineFiveKPlusJ)
{
    ScopedTempDir dir;
    WriteFileText("all_text", NumberedTable(640, "\r\n"));
    ASSERT_TRUE(Localisation::LoadTextTable("all_text", kTexts));
    EXPECT_EQ(Localisation::EntryCount(), 127u);
    EXPECT_EQ(Localisation::Text(0, 3), u"line 3") << "the carriage return is dropped";
    EXPECT_EQ(Localisation::Text(126, 4), u"line 634");
    EXPECT_EQ(Localisation::Text(127, 0), u"") << "lines past the table are ignored";
    EXPECT_EQ(Localisation::Text(0, 5), u"");
    EXPECT_EQ(Engine::UI::GetLocaleText(9), u"line 45");
    Engine::UI::SetLanguage(2);
    EXPECT_EQ(Engine::UI::GetLocaleText(9), u"line 47");
    EXPECT_EQ(Engine::UI::GetLocaleText(4000000000u), u"");

    // A short file fills what it has; the rest stays empty. Loading selects
    // language 0 again.
    WriteFileText("short", "\xEF\xBB\xBFuno\ndos\ntres");
    ASSERT_TRUE(Localisation::LoadTextTable("short", kTexts));
    EXPECT_EQ(Localisation::GetLanguage(), 0u);
    EXPECT_EQ(Localisation::Text(0, 0), u"uno") << "an editor's byte-order mark is dropped";
    EXPECT_EQ(Localisation::Text(0, 2), u"tres");
    EXPECT_EQ(Localisation::Text(0, 3), u"");
    EXPECT_EQ(Localisation::Text(126, 4), u"");

    // A missing file leaves table and language alone.
    Engine::UI::SetLanguage(3);
    EXPECT_FALSE(Localisation::LoadTextTable("missing", kTexts));
    EXPECT_EQ(Localisation::Text(0, 1), u"dos");
    EXPECT_EQ(Localisation::GetLanguage(), 3u);
}

// With a table that is not whole every title button may show blank: one
// message names the file and what was wrong, and the lines it has are used.
TEST(TextTable, AFileThatIsNotWholeSaysWhatWasWrongOnceAndKeepsItsLines)
{
    ScopedTempDir dir;
    std::string undecodable = NumberedTable(635);
    undecodable.replace(undecodable.find("line 3"), 6, "li\xFFne");
    undecodable.replace(undecodable.find("line 8"), 6, "\xF0\x9F\x98\x80");
    const std::string count = ", expected 635 (127 texts x 5 languages)";
    const std::string notUtf8 = " with bytes that are not UTF-8 characters up to U+FFFF, the first line ";
    const std::pair<std::string, std::string> cases[] = {
        {NumberedTable(635), ""},
        {NumberedTable(635, "\r\n"), ""},
        {"", "0 lines" + count},
        {"uno\ndos\ntres", "3 lines" + count},
        {NumberedTable(635) + "\n", "636 lines" + count},
        {undecodable, "2 lines" + notUtf8 + "4"},
        {"\x89PNG\r\n\x1A\n", "2 lines" + count + "; 1 line" + notUtf8 + "1"},
    };
    for (const auto& [text, problem] : cases) {
        WriteFileText("all_text", text);
        const std::string said = StderrOf([] { EXPECT_TRUE(Localisation::LoadTextTable("all_text", kTexts)); });
        EXPECT_EQ(said, problem.empty() ? "" : "all_text: " + problem + "\n");
    }
    EXPECT_EQ(Localisation::Text(0, 0), u"\uFFFDPNG");
    WriteFileText("all_text", undecodable);
    StderrOf([] { Localisation::LoadTextTable("all_text", kTexts); });
    EXPECT_EQ(Localisation::Text(0, 3), u"li\uFFFDne");
    EXPECT_EQ(Localisation::Text(1, 3), u"\uFFFD");
    EXPECT_EQ(Localisation::Text(1, 4), u"line 9");

    const std::string said = StderrOf([] { EXPECT_FALSE(Localisation::LoadTextTable("missing", kTexts)); });
    EXPECT_TRUE(said.starts_with("missing: could not be opened (")) << said;
}

TEST(TextTable, WithoutAFileEveryTextIsEmpty)
{
    ExpectInFreshProcess([]() -> std::string {
        if (Localisation::EntryCount() != 0)
            return "a table is there";
        return Engine::UI::GetLocaleText(0).empty() && Engine::UI::GetLocaleText(126).empty() ? "" : "a text is there";
    });
}

std::vector<std::string> gCalls;
void First(Engine::UI::LanguageChange& change) { gCalls.push_back("first " + std::to_string(change.language)); }
void Second(Engine::UI::LanguageChange& change)
{
    gCalls.push_back("second " + std::to_string(change.language));
    change.handled = change.language == 4;
}

// The language and its handlers last the whole run: each test starts with
// a new run's, and leaves its own to no other test.
struct Languages : ::testing::Test {
    void SetUp() override
    {
        Localisation::Reset();
        gCalls.clear();
    }
    void TearDown() override { Localisation::Reset(); }
};

TEST_F(Languages, OutOfRangeSelectsZeroAndHandlersRunLastAddedFirst)
{
    Engine::UI::AddLanguageHandler(&First);
    Engine::UI::AddLanguageHandler(&Second);
    Engine::UI::AddLanguageHandler(&First);
    for (std::uint32_t asked : {1u, 5u, static_cast<std::uint32_t>(-1), 4u})
        Engine::UI::SetLanguage(asked);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"second 1", "first 1", "second 0", "first 0", "second 0", "first 0",
                                                "second 4"}));

    // A new run's state tells nobody of the next change.
    Localisation::Reset();
    EXPECT_EQ(Localisation::GetLanguage(), 0u);
    gCalls.clear();
    Engine::UI::SetLanguage(3);
    EXPECT_TRUE(gCalls.empty());
}

TEST_F(Languages, Language2UsesTheCyrillicFontAndReFontsTextsWithoutAFixedFont)
{
    // Fonts without glyphs need no GL context.
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    testing::internal::CaptureStderr();
    const Engine::Font* latin = renderer.fonts.Add("Latin", std::make_unique<Engine::Font>(nullptr, "-", 0, 48, 0));
    const Engine::Font* cyrillic =
        renderer.fonts.Add("Cyrillic", std::make_unique<Engine::Font>(nullptr, "-", 0, 48, 0));
    testing::internal::GetCapturedStderr();
    for (std::uint32_t language = 0; language < 6; ++language)
        EXPECT_EQ(Engine::UI::GetFontForLanguage(language), language == 2 ? cyrillic : latin) << language;

    Engine::UI::LocaleTextComp following(latin, 3);
    Engine::UI::LocaleTextComp fixed(latin, 77);
    fixed.SetFontFixed(latin);
    Engine::UI::SetLanguage(2);
    EXPECT_EQ(Engine::UI::GetLanguageFont(), cyrillic);
    Engine::UI::ApplyFontToAllTexts(Engine::UI::GetLanguageFont());
    EXPECT_EQ(following.font, cyrillic);
    EXPECT_EQ(fixed.font, latin);
    EXPECT_EQ(Engine::UI::AllLocaleTexts().size(), 2u);
}

} // namespace
