#pragma once
#include "game/config/InputBindings.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The user configuration file, "<Documents>/Solvane2/config": one JSON
// object, written compactly with its keys sorted, of 27 keys:
//   "VSync", "fullscreen"             true or false
//   "music_volume", "sfx_volume"      numbers, kept in 0 to 1
//   "resolution_x", "resolution_y"    integers, 320 x 200 to 7680 x 4320
//   "language"                        integer 0 to 4
//   20 bindings of player 1, by slot name ("Active", "Run", "Left", ...,
//   "ControllerDesintegrate"): integers; a keyboard slot holds an SDL
//   scancode (0 to 511), a mouse slot a button 0 to 4, a controller slot a
//   button -1 (none) to 255.
// The file is at most kMaxConfigBytes long. Reading takes each good key and
// keeps the current value of each bad or missing one.
struct UserSettings {
    static constexpr std::size_t kMaxConfigBytes = 64 * 1024;
    static constexpr std::int64_t kMinWidth = 320;
    static constexpr std::int64_t kMinHeight = 200;
    static constexpr std::int64_t kMaxWidth = 7680;
    static constexpr std::int64_t kMaxHeight = 4320;

    bool vsync = false;
    float musicVolume = 0.5f;
    float sfxVolume = 0.5f;
    std::int64_t resolutionX = 1280;
    std::int64_t resolutionY = 720;
    bool fullscreen = false;
    std::int64_t language = 0;
    // Player 1's; only the named slots are kept in the file.
    InputBindings bindings = InputBindings::Defaults();

    bool operator==(const UserSettings&) const = default;
};

// Reads a configuration text over the settings. Returns one entry per key
// that could not be taken, saying which and why (empty: all 27 were good).
std::vector<std::string> ReadUserSettings(const std::string& text, UserSettings& settings);
// The 27 keys, compact.
std::string WriteUserSettings(const UserSettings& settings);

// The 20 named binding slots of a configuration object, read into or
// written from a bindings record. Reading adds a problem entry per bad key.
void ReadBindings(const nlohmann::json& object, InputBindings& bindings, std::vector<std::string>& problems);
void WriteBindings(nlohmann::json& object, const InputBindings& bindings);
