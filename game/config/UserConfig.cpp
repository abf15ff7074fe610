#include "game/config/UserConfig.h"

#include "engine/audio/MasterVolume.h"
#include "engine/platform/DocumentsFolder.h"
#include "engine/platform/ReplaceFile.h"
#include "engine/platform/SettingsFile.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "engine/ui/Localisation.h"

#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

const char* const kFolderName = "Solvane2";
const char* const kFileName = "config";

// A file that did not take the last save, and why. Until a save succeeds the
// game runs settings the file does not hold: a match start reading it again
// would undo them, and every further save (a held volume saves each frame)
// would say the same again.
struct UnsavedFile {
    std::string path;
    std::string failure;
};

// A stored size the display could not fit, and the size the window opened
// at instead. Saved back in place of the window's size for as long as the
// window keeps that size: a save for any other option must not put the
// display's limit into the file in place of the player's choice.
struct Refitted {
    std::pair<int, int> stored;
    std::pair<int, int> opened;
};

// What the game remembers of the file between its reads and saves, for the
// whole run; a new run starts from these values.
struct Remembered {
    // The language of the last file read, until the table is there to take it.
    std::uint32_t storedLanguage = 0;
    UnsavedFile unsaved;
    std::optional<Refitted> refitted;
    // The stored size last said not to fit, so a match start reading the
    // file again says nothing more.
    std::pair<int, int> refitSaid;
};
Remembered gRemembered;

bool HoldsUnsavedSettings(const std::string& path)
{
    return !gRemembered.unsaved.failure.empty() && gRemembered.unsaved.path == path;
}

std::string SizeText(std::pair<int, int> size)
{
    return std::to_string(size.first) + " x " + std::to_string(size.second);
}

// A stored size larger than the display would put the menus off-screen and
// size every render target to it. The window opens at an offered size that
// fits; the file keeps what the player chose until they choose again. Said
// once, not at every match start that reads the file again.
std::pair<int, int> SizeToOpenAt(std::pair<int, int> stored)
{
    const std::optional<std::pair<int, int>> area = Engine::Window::UsableArea();
    const std::pair<int, int> size = area ? Engine::FittingSize(stored, *area, Engine::Window::OfferedSizes()) : stored;
    if (size != stored && stored != gRemembered.refitSaid) {
        const std::string wanted = SizeText(stored);
        std::fprintf(stderr, "[UserConfig] the resolution %s does not fit the display's usable area of %s; the window "
                             "opens at %s and the file keeps %s\n",
                     wanted.c_str(), SizeText(*area).c_str(), SizeText(size).c_str(), wanted.c_str());
    }
    gRemembered.refitSaid = size != stored ? stored : std::pair<int, int>();
    return size;
}

void ReportProblems(const std::string& path, const std::vector<std::string>& problems)
{
    std::string list;
    for (const std::string& problem : problems)
        list += (list.empty() ? "" : ", ") + problem;
    std::fprintf(stderr, "[UserConfig] \"%s\": kept the current value of what could not be read: %s\n",
                 path.c_str(), list.c_str());
}

} // namespace

std::string UserConfig::GetDocumentsPath() { return Engine::Platform::DocumentsFolder(); }

std::string UserConfig::GetFolderPath() { return GetDocumentsPath() + kFolderName + "/"; }

std::string UserConfig::GetFilePath() { return GetFolderPath() + kFileName; }

void UserConfig::MakeFolder(const std::string& documentsPath, const std::string& folderName)
{
    Engine::Platform::MakeSettingsFolder(documentsPath, folderName);
}

UserSettings UserConfig::Current()
{
    UserSettings settings;
    settings.vsync = Engine::Renderer::GetInstance().GetVSync();
    settings.musicVolume = Engine::MasterVolume::music;
    settings.sfxVolume = Engine::MasterVolume::sfx;
    if (const Engine::Window* window = Engine::Window::Main()) {
        std::pair<int, int> size(window->width, window->height);
        if (gRemembered.refitted && gRemembered.refitted->opened == size)
            size = gRemembered.refitted->stored;
        settings.resolutionX = size.first;
        settings.resolutionY = size.second;
        settings.fullscreen = window->IsFullscreen();
    }
    settings.language = Localisation::EntryCount() > 0 ? Localisation::GetLanguage() : gRemembered.storedLanguage;
    settings.bindings = InputBindings::Records()[0];
    return settings;
}

void UserConfig::Apply(const UserSettings& settings)
{
    Engine::Renderer::GetInstance().SetVSync(settings.vsync);
    Engine::MasterVolume::music = settings.musicVolume;
    Engine::MasterVolume::sfx = settings.sfxVolume;
    if (Engine::Window* window = Engine::Window::Main()) {
        const std::pair<int, int> stored(static_cast<int>(settings.resolutionX), static_cast<int>(settings.resolutionY));
        const std::pair<int, int> size = SizeToOpenAt(stored);
        gRemembered.refitted = size != stored ? std::optional<Refitted>(Refitted{stored, size}) : std::nullopt;
        if (size != std::pair<int, int>(window->width, window->height))
            window->SetResolution(size);
        window->SetFullscreen(settings.fullscreen);
    }
    gRemembered.storedLanguage = static_cast<std::uint32_t>(settings.language);
    if (Localisation::EntryCount() > 0)
        ApplyStoredLanguage();

    auto& records = InputBindings::Records();
    records[0].codes = settings.bindings.codes;
    records[0].UsesController = true;
    records[1] = records[0];
}

void UserConfig::Load()
{
    MakeFolder(GetDocumentsPath(), kFolderName);
    const std::string path = GetFilePath();
    if (HoldsUnsavedSettings(path)) {
        Apply(Current());
        return;
    }
    std::string text;
    std::string unreadable;
    if (!Engine::Platform::ReadSettingsFile(path, UserSettings::kMaxConfigBytes, text, unreadable)) {
        // A file that is there but cannot be read would be overwritten by
        // the next change of an option without a word.
        if (!unreadable.empty())
            std::fprintf(stderr, "[UserConfig] \"%s\" cannot be read (%s); the settings of a first run are used\n",
                         path.c_str(), unreadable.c_str());
        if (Engine::Window* window = Engine::Window::Main())
            window->SetFullscreen(true);
        Engine::Renderer::GetInstance().SetVSync(false);
        return;
    }
    UserSettings settings = Current();
    const std::vector<std::string> problems = ReadUserSettings(text, settings);
    if (!problems.empty())
        ReportProblems(path, problems);
    Apply(settings);
}

void UserConfig::Save()
{
    MakeFolder(GetDocumentsPath(), kFolderName);
    const std::string path = GetFilePath();
    // Through a link too: a pipe or a folder at its end is no old file.
    std::error_code unknown;
    const bool hadFile = std::filesystem::is_regular_file(path, unknown);
    const Engine::Platform::Replacement saved =
        Engine::Platform::ReplaceFileContents(path, WriteUserSettings(Current()));
    const std::string& failure = saved.failure;
    if (!failure.empty() && !(HoldsUnsavedSettings(path) && gRemembered.unsaved.failure == failure))
        std::fprintf(stderr, "[UserConfig] settings not saved (%s);%s the game goes on with the changed settings\n",
                     failure.c_str(), hadFile && !saved.fileChanged ? " the old file is kept," : "");
    gRemembered.unsaved = {path, failure};
}

void UserConfig::ResolutionChosen() { gRemembered.refitted.reset(); }

void UserConfig::ForgetTheRun() { gRemembered = {}; }

void UserConfig::ApplyStoredLanguage() { Engine::UI::SetLanguage(gRemembered.storedLanguage); }
