#include "game/config/UserSettings.h"

#include <SDL_scancode.h>
#include <algorithm>
#include <optional>

namespace {

using nlohmann::json;

std::string Problem(const char* key, const char* why) { return std::string("\"") + key + "\" (" + why + ")"; }

// The key's value when it is present and of the type asked for.
const json* Member(const json& object, const char* key, std::vector<std::string>& problems)
{
    auto found = object.find(key);
    if (found == object.end()) {
        problems.push_back(Problem(key, "missing"));
        return nullptr;
    }
    return &*found;
}

void ReadBool(const json& object, const char* key, bool& into, std::vector<std::string>& problems)
{
    const json* value = Member(object, key, problems);
    if (!value)
        return;
    if (!value->is_boolean())
        problems.push_back(Problem(key, "not true or false"));
    else
        into = value->get<bool>();
}

void ReadVolume(const json& object, const char* key, float& into, std::vector<std::string>& problems)
{
    const json* value = Member(object, key, problems);
    if (!value)
        return;
    if (!value->is_number())
        problems.push_back(Problem(key, "not a number"));
    else
        into = static_cast<float>(std::clamp(value->get<double>(), 0.0, 1.0));
}

std::optional<std::int64_t> ReadInteger(const json& object, const char* key, std::int64_t low, std::int64_t high,
                                        const char* range, std::vector<std::string>& problems)
{
    const json* value = Member(object, key, problems);
    if (!value)
        return std::nullopt;
    if (!value->is_number_integer()) {
        problems.push_back(Problem(key, "not a whole number"));
        return std::nullopt;
    }
    // Unsigned values past the signed range are out of range anyway.
    if (value->is_number_unsigned() && value->get<std::uint64_t>() > static_cast<std::uint64_t>(high)) {
        problems.push_back(Problem(key, range));
        return std::nullopt;
    }
    const auto number = value->get<std::int64_t>();
    if (number < low || number > high) {
        problems.push_back(Problem(key, range));
        return std::nullopt;
    }
    return number;
}

void ReadResolution(const json& object, UserSettings& settings, std::vector<std::string>& problems)
{
    const auto x = ReadInteger(object, "resolution_x", UserSettings::kMinWidth, UserSettings::kMaxWidth,
                               "not a width of 320 to 7680", problems);
    const auto y = ReadInteger(object, "resolution_y", UserSettings::kMinHeight, UserSettings::kMaxHeight,
                               "not a height of 200 to 4320", problems);
    // Half a size is no size: the window keeps both.
    if (x && y) {
        settings.resolutionX = *x;
        settings.resolutionY = *y;
    }
}

} // namespace

void ReadBindings(const json& object, InputBindings& bindings, std::vector<std::string>& problems)
{
    for (std::uint32_t slot = 0; slot < InputBindings::SlotCount; ++slot) {
        const InputBindings::SlotInfo& info = InputBindings::Info(static_cast<InputBindings::Slot>(slot));
        if (!info.configKey)
            continue;
        std::optional<std::int64_t> code;
        switch (info.kind) {
        case InputBindings::Kind::Keyboard:
            code = ReadInteger(object, info.configKey, 0, SDL_NUM_SCANCODES - 1, "not a key scancode of 0 to 511",
                               problems);
            break;
        case InputBindings::Kind::Mouse:
            code = ReadInteger(object, info.configKey, 0, 4, "not a mouse button of 0 to 4", problems);
            break;
        case InputBindings::Kind::Controller:
            code = ReadInteger(object, info.configKey, InputBindings::kNoButton, 255,
                               "not a controller button of -1 to 255", problems);
            break;
        }
        if (code)
            bindings.codes[slot] = static_cast<std::uint32_t>(static_cast<std::int32_t>(*code));
    }
}

void WriteBindings(json& object, const InputBindings& bindings)
{
    for (std::uint32_t slot = 0; slot < InputBindings::SlotCount; ++slot) {
        const char* key = InputBindings::Info(static_cast<InputBindings::Slot>(slot)).configKey;
        if (key)
            object[key] = static_cast<std::int32_t>(bindings.codes[slot]);
    }
}

std::vector<std::string> ReadUserSettings(const std::string& text, UserSettings& settings)
{
    if (text.size() > UserSettings::kMaxConfigBytes)
        return {"the file is larger than 64 KiB"};
    const json object = json::parse(text, nullptr, false);
    if (object.is_discarded())
        return {"the file is not JSON"};
    if (!object.is_object())
        return {"the file is not one JSON object"};

    std::vector<std::string> problems;
    ReadBool(object, "VSync", settings.vsync, problems);
    ReadVolume(object, "music_volume", settings.musicVolume, problems);
    ReadVolume(object, "sfx_volume", settings.sfxVolume, problems);
    ReadResolution(object, settings, problems);
    ReadBool(object, "fullscreen", settings.fullscreen, problems);
    if (const auto language = ReadInteger(object, "language", 0, 4, "not a language of 0 to 4", problems))
        settings.language = *language;
    ReadBindings(object, settings.bindings, problems);
    return problems;
}

std::string WriteUserSettings(const UserSettings& settings)
{
    json object = json::object();
    object["VSync"] = settings.vsync;
    object["music_volume"] = settings.musicVolume;
    object["sfx_volume"] = settings.sfxVolume;
    object["resolution_x"] = settings.resolutionX;
    object["resolution_y"] = settings.resolutionY;
    object["fullscreen"] = settings.fullscreen;
    object["language"] = settings.language;
    WriteBindings(object, settings.bindings);
    return object.dump();
}
