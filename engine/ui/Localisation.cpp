#include "engine/ui/Localisation.h"

#include "engine/render/Renderer.h"
#include "engine/ui/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>

namespace {

// The table, the language picked and who hears of a change, as a new run
// has them.
struct Locale {
    std::vector<Localisation::Entry> table;
    std::uint32_t language = 0;
    std::vector<Engine::UI::LanguageHandler> handlers;
};
Locale gLocale;

const std::u16string kNoText;

std::u16string DecodeLine(std::string line, std::size_t& replaced)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return Engine::UI::DecodeUtf8(line, &replaced);
}

// Lines left after the table, counted without keeping them.
std::size_t CountRemainingLines(std::istream& file)
{
    std::size_t lines = 0;
    while (file.ignore(std::numeric_limits<std::streamsize>::max(), '\n').gcount() > 0)
        ++lines;
    return lines;
}

std::string Lines(std::size_t count) { return std::to_string(count) + (count == 1 ? " line" : " lines"); }

// How a table's lines went; the texts themselves are used either way.
struct LineTally {
    std::uint32_t textCount = 0;
    std::size_t lines = 0;
    std::size_t undecodable = 0;
    std::size_t firstUndecodable = 0; // counted from 1, as an editor does

    void Add(std::size_t replaced)
    {
        ++lines;
        if (replaced == 0)
            return;
        if (undecodable++ == 0)
            firstUndecodable = lines;
    }

    std::string Problem() const
    {
        const std::size_t expected = std::size_t{textCount} * Localisation::kLanguageCount;
        std::string problem;
        if (lines != expected)
            problem = Lines(lines) + ", expected " + std::to_string(expected) + " ("
                      + std::to_string(textCount) + " texts x "
                      + std::to_string(Localisation::kLanguageCount) + " languages)";
        if (undecodable > 0)
            problem += (problem.empty() ? "" : "; ") + Lines(undecodable)
                       + " with bytes that are not UTF-8 characters up to U+FFFF, the first line "
                       + std::to_string(firstUndecodable);
        return problem;
    }
};

} // namespace

bool Localisation::LoadTextTable(const std::string& path, std::uint32_t textCount)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: could not be opened (%s)\n", path.c_str(), std::strerror(errno));
        return false;
    }
    const std::string problem = ReadTextTable(file, textCount);
    if (!problem.empty())
        std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
    return true;
}

std::string Localisation::ReadTextTable(std::istream& file, std::uint32_t textCount)
{
    std::vector<Entry> table(textCount);
    LineTally tally{textCount};
    std::string line;
    for (Entry& entry : table) {
        for (std::u16string& text : entry) {
            if (!std::getline(file, line))
                break;
            // An editor's byte-order mark is not part of the first text.
            if (tally.lines == 0 && line.starts_with("\xEF\xBB\xBF"))
                line.erase(0, 3);
            std::size_t replaced = 0;
            text = DecodeLine(line, replaced);
            tally.Add(replaced);
        }
    }
    if (tally.lines == std::size_t{textCount} * kLanguageCount)
        tally.lines += CountRemainingLines(file);
    gLocale.table = std::move(table);
    gLocale.language = 0;
    return tally.Problem();
}

const std::u16string& Localisation::Text(std::uint32_t id, std::uint32_t language)
{
    if (id >= gLocale.table.size() || language >= kLanguageCount)
        return kNoText;
    return gLocale.table[id][language];
}

std::size_t Localisation::EntryCount() { return gLocale.table.size(); }

std::uint32_t Localisation::GetLanguage() { return gLocale.language; }

void Localisation::Reset() { gLocale = Locale{}; }

namespace Engine::UI {

const std::u16string& GetLocaleText(std::uint32_t id) { return Localisation::Text(id, gLocale.language); }

void SetLanguage(std::uint32_t index)
{
    gLocale.language = index < Localisation::kLanguageCount ? index : 0;
    LanguageChange change;
    change.language = gLocale.language;
    // Over a copy: a handler may add another.
    const std::vector<LanguageHandler> handlers = gLocale.handlers;
    for (auto handler = handlers.rbegin(); handler != handlers.rend() && !change.handled; ++handler)
        (*handler)(change);
}

void AddLanguageHandler(LanguageHandler handler)
{
    if (handler && std::find(gLocale.handlers.begin(), gLocale.handlers.end(), handler) == gLocale.handlers.end())
        gLocale.handlers.push_back(handler);
}

const Font* GetFontForLanguage(std::uint32_t index)
{
    const char* name = index == Localisation::kCyrillicLanguage ? "Cyrillic" : "Latin";
    return Renderer::GetInstance().fonts.Find(name);
}

const Font* GetLanguageFont() { return GetFontForLanguage(gLocale.language); }

} // namespace Engine::UI
