#pragma once
#include <string>

namespace Engine::Platform {

// The user's Documents folder, where the game keeps its own folder:
// $XDG_DOCUMENTS_DIR when set, else the XDG_DOCUMENTS_DIR line of
// ~/.config/user-dirs.dirs, else $HOME/Documents. HOME comes from the
// password database when the variable is unset. The folder is created with
// its parents. Ends with '/'; empty when no home can be found at all, so
// callers fall back to the working directory.
std::string DocumentsFolder();

// The value of an XDG_DOCUMENTS_DIR line of a user-dirs.dirs text, with
// "$HOME" expanded: `XDG_DOCUMENTS_DIR="$HOME/Docs"` gives home + "/Docs".
// Empty when the text has no such line or its value is neither absolute nor
// under $HOME.
std::string DocumentsDirFromUserDirs(const std::string& userDirsText, const std::string& home);

// The home folder: $HOME, else the password database's entry; empty when
// neither is known.
std::string HomeFolder();

} // namespace Engine::Platform
