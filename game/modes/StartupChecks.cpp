#include "game/modes/StartupChecks.h"

#include <SDL.h>
#include <filesystem>
#include <string_view>

namespace {

// The drivers SDL falls back to when no desktop session can be reached.
bool ShowsNothing(std::string_view driver) { return driver == "offscreen" || driver == "dummy"; }

} // namespace

std::string DataFolderProblem()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (!error && std::filesystem::is_directory(folder / "data", error))
        return {};
    return "The game's data folder was not found in the working directory \"" + folder.string() +
           "\": start the game from the folder that holds data/ (scripts/play.sh does).";
}

std::string DisplayProblem()
{
    // SDL counts its starts: the window's own start later finds it running.
    // A start that fails is reported there, with SDL's reason.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return {};
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!driver || !ShowsNothing(driver) || (asked && *asked))
        return {};
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return "No display could be opened (DISPLAY or WAYLAND_DISPLAY must name a running one): the game needs a "
           "desktop session to show its window.";
}
