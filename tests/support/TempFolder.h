#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

// A new empty folder under the system's temporary folder, named from the
// prefix; empty when none could be made. The caller removes it.
inline std::string MakeTempFolder(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
}
