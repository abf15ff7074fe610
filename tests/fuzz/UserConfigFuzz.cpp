// The user configuration file, "<Documents>/Solvane2/config", as start-up
// reads it over the current settings.
//
// Input: the file's bytes (the loader reads at most 64 KiB and one byte).
// Beyond not crashing: what was read is within the file's limits, and it
// writes to a file that reads back whole and the same.
#include "FuzzSupport.h"

#include "game/config/UserSettings.h"

#include <algorithm>

namespace {

bool WithinLimits(const UserSettings& settings)
{
    return settings.musicVolume >= 0.0f && settings.musicVolume <= 1.0f && settings.sfxVolume >= 0.0f
        && settings.sfxVolume <= 1.0f && settings.resolutionX >= UserSettings::kMinWidth
        && settings.resolutionX <= UserSettings::kMaxWidth && settings.resolutionY >= UserSettings::kMinHeight
        && settings.resolutionY <= UserSettings::kMaxHeight && settings.language >= 0 && settings.language <= 4;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = Fuzz::Text(data, std::min(size, UserSettings::kMaxConfigBytes + 1));
    UserSettings settings;
    ReadUserSettings(text, settings);
    Fuzz::Require(WithinLimits(settings), "the settings read are within the file's limits");

    UserSettings reread;
    reread.vsync = !settings.vsync;
    reread.fullscreen = !settings.fullscreen;
    Fuzz::Require(ReadUserSettings(WriteUserSettings(settings), reread).empty(), "a written file reads back whole");
    Fuzz::Require(reread == settings, "a written file reads back the same");
    return 0;
}
