#pragma once
#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace Engine {
class Font;
}

// The table of every visible menu text: text ids 0 to n - 1, each in five
// languages (0 English, 1 Spanish, 2 Russian, 3 German, 4 French). The
// current language picks the column. The program names the file and its
// count of texts n.
//
// The file: UTF-8 lines separated by line feeds (a carriage return before
// one is dropped). Line 5 k + j, counting from 0, is text id k in language
// j, for k = 0 to n - 1 and j = 0 to 4: 5 n lines. Characters become
// 16-bit units (nothing above U+FFFF; bad bytes become U+FFFD). Missing
// lines give empty texts; lines after the last are ignored.
class Localisation {
public:
    static constexpr std::uint32_t kLanguageCount = 5;
    static constexpr std::uint32_t kCyrillicLanguage = 2;

    using Entry = std::array<std::u16string, kLanguageCount>;

    Localisation() = delete;

    // Reads a table of textCount texts and selects language 0. A file that
    // does not open leaves the table and the language as they were and
    // returns false. What was wrong with the file is one message on stderr
    // naming it.
    static bool LoadTextTable(const std::string& path, std::uint32_t textCount);
    // The same from text already open; returns what was wrong with it ("" for
    // a whole table): a line count other than 5 textCount, lines that did not
    // decode.
    static std::string ReadTextTable(std::istream& text, std::uint32_t textCount);
    // The text of an id in a language; empty for an id or language outside
    // the table.
    static const std::u16string& Text(std::uint32_t id, std::uint32_t language);
    static std::size_t EntryCount();
    static std::uint32_t GetLanguage();
    // No table, language 0 and no language-change handler, as a new run
    // starts.
    static void Reset();
};

namespace Engine::UI {

// Offered to the language-change handlers, from the last added to the first,
// until one sets `handled`.
struct LanguageChange {
    bool handled = false;
    std::uint8_t dispatching = 1;
    std::uint32_t language = 0;
};

using LanguageHandler = void (*)(LanguageChange& change);

// The text of an id in the current language; empty when there is none.
const std::u16string& GetLocaleText(std::uint32_t id);
// Selects a language (anything above 4 selects 0) and tells the handlers.
void SetLanguage(std::uint32_t index);
// Appends the handler unless it is listed already.
void AddLanguageHandler(LanguageHandler handler);
// The renderer's "Cyrillic" font for language 2, "Latin" for the others;
// null when the renderer has not loaded it.
const Font* GetFontForLanguage(std::uint32_t index);
const Font* GetLanguageFont();

} // namespace Engine::UI
