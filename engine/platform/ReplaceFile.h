#pragma once
#include <string>

namespace Engine::Platform {

// Writes the text to a temporary file beside the path and renames it over
// the path, so a failed or interrupted write never leaves a cut file in its
// place. Returns "" on success, else why it failed (the old file, if any,
// is left as it was). A file whose owner may not write it is left as it
// is.
std::string ReplaceFileContents(const std::string& path, const std::string& text);

} // namespace Engine::Platform
