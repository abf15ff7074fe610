#include "engine/render/FontMapping.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

TEST(FontMapping, DecodesUtf8AndDropsWhatIsMalformed)
{
    // A lone continuation byte, a cut sequence, an overlong slash, a
    // surrogate and a code point beyond 16 bits are all left out.
    const std::pair<const char*, std::u16string> cases[] = {
        {"A\xD0\xAD\xD1\x8D", u"AЭэ"}, {"a\x80" "b", u"ab"},          {"c\xE2\x82", u"c"},
        {"\xC0\xAF" "d", u"d"},         {"\xED\xA0\x80" "e", u"e"}, {"\xF0\x9F\x98\x80" "f", u"f"},
        {"\xE2\x82\xAC", u"€"}};
    for (const auto& [bytes, decoded] : cases)
        EXPECT_EQ(Engine::DecodeUtf8(bytes), decoded) << bytes;
}

TEST(FontMapping, ParsesTwoLinesEachCutAt95)
{
    std::u16string source;
    std::u16string target;
    EXPECT_EQ(Engine::ParseFontMapping("ab\nЖж\nignored\n", source, target), "");
    EXPECT_EQ(source, u"ab");
    EXPECT_EQ(target, u"Жж");

    Engine::ParseFontMapping("only one line", source, target);
    EXPECT_EQ(source, u"only one line");
    EXPECT_TRUE(target.empty());

    Engine::ParseFontMapping("ab\n" + std::string(100, 'w'), source, target);
    EXPECT_EQ(target, std::u16string(95, u'w'));

    // A first line that does not fit is cut, and no targets are taken for it.
    Engine::ParseFontMapping(std::string(120, 'q') + "\n" + std::string(100, 'w'), source, target);
    EXPECT_EQ(source, std::u16string(95, u'q'));
    EXPECT_TRUE(target.empty());
}

// A mapping that re-keys the wrong glyphs, or none, says which file and why,
// once; what it holds is used as read.
TEST(FontMapping, AFileThatIsNotWholeSaysWhatWasWrongOnce)
{
    ScopedTempDir dir;
    std::filesystem::create_directories("data");
    const std::pair<std::string, std::string> cases[] = {
        {"qw\n\xD0\xB9\xD1\x86\n", ""},
        {"", "no source characters on line 1"},
        {"abc", "3 source characters on line 1 but 0 target characters on line 2"},
        {"abc\nxy\n", "3 source characters on line 1 but 2 target characters on line 2"},
        {std::string(95, 'a') + "\n" + std::string(100, 'w'),
         "95 source characters on line 1 but 100 target characters on line 2"},
        {"a\xFF" "b\nxy\n", "bytes that are not UTF-8 characters up to U+FFFF were left out"},
        {std::string(120, 'q') + "\n", "line 1 holds more than 95 characters; no target characters read"},
    };
    for (const auto& [text, problem] : cases) {
        WriteFileText("data/font_mapping", text);
        const std::string said = StderrOf([] { Engine::LoadFontMapping(); });
        EXPECT_EQ(said, problem.empty() ? "" : "data/font_mapping: " + problem + "\n");
    }
    EXPECT_EQ(Engine::FontMappingTarget(), u"") << "the file's lines are used as read";
}

TEST(FontMapping, AMissingFileSelectsTheBuiltInMappingAndAFileReplacesIt)
{
    ScopedTempDir dir;
    const std::string said = StderrOf([] { Engine::LoadFontMapping(); });
    EXPECT_TRUE(said.starts_with("data/font_mapping: could not be opened (")) << said;
    EXPECT_NE(said.find("; the built-in mapping is used\n"), std::string::npos) << said;
    const std::u16string& source = Engine::FontMappingSource();
    const std::u16string& target = Engine::FontMappingTarget();
    ASSERT_EQ(source.size(), 95u);
    ASSERT_EQ(target.size(), 95u);
    EXPECT_EQ(source.substr(0, 3), u" !\"");
    EXPECT_EQ(target.substr(0, 3), u" _Э");
    // Digits, parentheses, backslash and the bar map to themselves.
    for (char16_t c : std::u16string(u"()0123456789\\|"))
        EXPECT_EQ(target[source.find(c)], c);
    EXPECT_EQ(target[source.find(u'q')], u'й');
    EXPECT_EQ(target[source.find(u'~')], u'+');

    std::filesystem::create_directories("data");
    std::ofstream("data/font_mapping", std::ios::binary) << "qw\n\xD0\xB9\xD1\x86\n";
    Engine::LoadFontMapping();
    EXPECT_EQ(Engine::FontMappingSource(), u"qw");
    EXPECT_EQ(Engine::FontMappingTarget(), u"йц");
}

} // namespace
