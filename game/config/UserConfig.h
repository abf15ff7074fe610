#pragma once
#include "game/config/UserSettings.h"

#include <string>

// The settings the game keeps between runs: display, volumes, language and
// player 1's bindings, in "<Documents>/Solvane2/config". Read at start-up
// and at every match start; written whenever an option changes.
class UserConfig {
public:
    UserConfig() = delete;

    // Reads the file and applies it. Without a file: fullscreen on, vertical
    // sync off, the rest unchanged, and no file is made; one that is there
    // but cannot be read is taken the same way, named on stderr with why. A
    // broken file never stops the game: each good key is applied, the bad
    // ones keep their values, and one message on stderr names them. Both
    // players end up with player 1's bindings and the controller flag set.
    // A resolution larger than the display's usable area opens the window
    // at the largest size offered to it that fits (Engine::Window::
    // OfferSizes), said once on stderr; saves keep writing the stored one
    // while the window keeps the size it opened at, until the player
    // chooses a resolution.
    static void Load();
    // Writes every setting from the current state, through a temporary file
    // renamed over the old one; another user's file that its mode lets us
    // write is written in place, so that it stays theirs. A failure (a file
    // its owner made read-only, or another user's file its mode does not
    // let us write, among them) says why on stderr, once for as long as it
    // lasts, and leaves the old file; until a save succeeds, Load keeps the
    // settings the game runs instead of reading that file back.
    static void Save();

    // The Documents folder with a trailing '/', or "" when it cannot be
    // found (the folder then goes under the working directory).
    static std::string GetDocumentsPath();
    // The Documents path followed by "Solvane2/".
    static std::string GetFolderPath();
    static std::string GetFilePath();
    // Creates documents path + folder name; an existing folder is fine.
    static void MakeFolder(const std::string& documentsPath, const std::string& folderName);

    // The settings as the game runs them now; the resolution is the stored
    // one the display could not fit while the window keeps its fitted size.
    static UserSettings Current();
    static void Apply(const UserSettings& settings);
    // The player chose the window's size: saves write it from now on, even
    // when it is the size a stored one was fitted to.
    static void ResolutionChosen();
    // Forgets what the reads and saves so far remembered (the language to
    // apply, a failed save, a refitted size and that it was said), as a
    // new run starts: the next test of a binary run whole meets the file
    // as the first.
    static void ForgetTheRun();

    // The language the file named. The localisation table selects language
    // 0 when it loads, so start-up calls this after loading it; a Load made
    // later applies its language at once.
    static void ApplyStoredLanguage();
};
