#pragma once
#include <string>

namespace Engine::Platform {

// The file a save of `path` must write: the path itself, or, through any
// symbolic links, the file they lead to (named by its folder's real path).
// Only a regular file, or a missing one in a folder that exists, may be
// written: a link to a named pipe or a device would have it replaced by a
// plain file, and /dev/null with it when run as root. Returns "" and sets
// `target`, else says what stands in the way (nothing is touched).
std::string FindFileToReplace(const std::string& path, std::string& target);

} // namespace Engine::Platform
