#include "engine/render/FontMapping.h"
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
    Engine::ParseFontMapping("ab\nЖж\nignored\n", source, target);
    EXPECT_EQ(source, u"ab");
    EXPECT_EQ(target, u"Жж");

    Engine::ParseFontMapping("only one line", source, target);
    EXPECT_EQ(source, u"only one line");
    EXPECT_TRUE(target.empty());

    EXPECT_TRUE(Engine::ParseFontMapping("ab\n" + std::string(100, 'w'), source, target));
    EXPECT_EQ(target, std::u16string(95, u'w'));

    // A first line that does not fit is cut, and no targets are taken for it.
    EXPECT_FALSE(Engine::ParseFontMapping(std::string(120, 'q') + "\n" + std::string(100, 'w'), source, target));
    EXPECT_EQ(source, std::u16string(95, u'q'));
    EXPECT_TRUE(target.empty());
}

TEST(FontMapping, AMissingFileSelectsTheBuiltInMappingAndAFileReplacesIt)
{
    ScopedTempDir dir;
    Engine::LoadFontMapping();
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
