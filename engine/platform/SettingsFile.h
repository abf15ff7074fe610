#pragma once
#include <cstddef>
#include <string>

namespace Engine::Platform {

// A program's settings file, kept in a folder of its own under the
// Documents folder (DocumentsFolder). Write it with ReplaceFileContents, so
// that a failed write keeps the old file (it says when it could not).

// Creates documents path + folder name with its parents. An existing folder
// is fine; one that cannot be made is left for the file's read or write to
// fail on.
void MakeSettingsFolder(const std::string& documentsPath, const std::string& folderName);

// The file's bytes, at most maxBytes + 1 of them: one byte past the limit is
// enough to refuse an oversized file without reading it all. False when the
// file cannot be read; `problem` then says why, or is empty when there is
// simply no file yet.
bool ReadSettingsFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& problem);

} // namespace Engine::Platform
