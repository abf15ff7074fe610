#pragma once
#include <string>

namespace Engine::Platform {

// What became of a save. `failure` is "" only once the text is in place,
// else says why not, naming the file being saved. `fileChanged` is set when
// a failed save changed the file that was there (a write in place cut
// short); only without it is the old file, if any, left as it was.
struct Replacement {
    std::string failure;
    bool fileChanged = false;
};

// Writes the text to a temporary file of its own beside the path and renames
// it over the path, so a failed or interrupted write never leaves a cut file
// in its place, nor a temporary one. The text is synced to the disk before
// the rename and the folder after it: a power loss leaves the old file or
// the new one, whole. The temporary is private to the running user until
// the text is in; the file that replaces an old one then takes its group
// (its group's bits are cleared where that group cannot be given) and its
// mode; a new one is made 0666 under the umask. A write past the file-size
// limit fails, as it must for this, only while SIGXFSZ is ignored
// (IgnoreFileSizeSignal); otherwise the signal kills the process in the
// middle of the write. A file the running user may not write by its mode
// bits (one its owner made read-only, or another user's) is left as it is:
// the rename would hand it to the running user. Another user's file that
// its mode lets the running user write is written in place, keeping its
// owner and mode. A path that is a symbolic link stays one: the file it
// leads to is the one written, under the same checks, if it is a regular
// file or a missing one in a folder that exists (FindFileToReplace);
// anything else is left as it is.
Replacement ReplaceFileContents(const std::string& path, const std::string& text);

} // namespace Engine::Platform
