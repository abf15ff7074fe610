#include "engine/platform/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace Engine::Platform {

void MakeSettingsFolder(const std::string& documentsPath, const std::string& folderName)
{
    std::error_code ignored;
    std::filesystem::create_directories(documentsPath + folderName, ignored);
}

bool ReadSettingsFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& problem)
{
    problem.clear();
    // A named pipe or a device would hold the start waiting for a writer.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        problem = "not a regular file";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno != ENOENT)
            problem = std::strerror(errno);
        return false;
    }
    std::string buffer(maxBytes + 1, '\0');
    buffer.resize(std::fread(buffer.data(), 1, buffer.size(), file));
    const int readError = errno;
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        problem = std::strerror(readError);
        return false;
    }
    text = std::move(buffer);
    return true;
}

} // namespace Engine::Platform
