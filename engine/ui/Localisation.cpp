#include "engine/ui/Localisation.h"

#include "engine/render/Renderer.h"
#include "engine/ui/Utf8.h"

#include <algorithm>
#include <fstream>

namespace {

std::vector<Localisation::Entry> gTable;
std::uint32_t gLanguage = 0;
std::vector<Engine::UI::LanguageHandler> gLanguageHandlers;

const std::u16string kNoText;

std::u16string DecodeLine(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return Engine::UI::DecodeUtf8(line);
}

} // namespace

bool Localisation::LoadTextTable(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    ReadTextTable(file);
    return true;
}

void Localisation::ReadTextTable(std::istream& file)
{
    std::vector<Entry> table(kTextCount);
    std::string line;
    bool first = true;
    for (Entry& entry : table) {
        for (std::u16string& text : entry) {
            if (!std::getline(file, line))
                break;
            // An editor's byte-order mark is not part of the first text.
            if (first && line.starts_with("\xEF\xBB\xBF"))
                line.erase(0, 3);
            first = false;
            text = DecodeLine(line);
        }
    }
    gTable = std::move(table);
    gLanguage = 0;
}

const std::u16string& Localisation::Text(std::uint32_t id, std::uint32_t language)
{
    if (id >= gTable.size() || language >= kLanguageCount)
        return kNoText;
    return gTable[id][language];
}

std::size_t Localisation::EntryCount() { return gTable.size(); }

std::uint32_t Localisation::GetLanguage() { return gLanguage; }

namespace Engine::UI {

const std::u16string& GetLocaleText(std::uint32_t id) { return Localisation::Text(id, gLanguage); }

void SetLanguage(std::uint32_t index)
{
    gLanguage = index < Localisation::kLanguageCount ? index : 0;
    LanguageChange change;
    change.language = gLanguage;
    // Over a copy: a handler may add another.
    const std::vector<LanguageHandler> handlers = gLanguageHandlers;
    for (auto handler = handlers.rbegin(); handler != handlers.rend() && !change.handled; ++handler)
        (*handler)(change);
}

void AddLanguageHandler(LanguageHandler handler)
{
    if (handler && std::find(gLanguageHandlers.begin(), gLanguageHandlers.end(), handler) == gLanguageHandlers.end())
        gLanguageHandlers.push_back(handler);
}

const Font* GetFontForLanguage(std::uint32_t index)
{
    const char* name = index == Localisation::kCyrillicLanguage ? "Cyrillic" : "Latin";
    return Renderer::GetInstance().fonts.Find(name);
}

const Font* GetLanguageFont() { return GetFontForLanguage(gLanguage); }

} // namespace Engine::UI
