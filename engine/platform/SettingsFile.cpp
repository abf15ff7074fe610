#include "engine/platform/SettingsFile.h"

#include <filesystem>
#include <fstream>

namespace Engine::Platform {

void MakeSettingsFolder(const std::string& documentsPath, const std::string& folderName)
{
    std::error_code ignored;
    std::filesystem::create_directories(documentsPath + folderName, ignored);
}

bool ReadSettingsFile(const std::string& path, std::size_t maxBytes, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string buffer(maxBytes + 1, '\0');
    file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    buffer.resize(static_cast<std::size_t>(file.gcount()));
    text = std::move(buffer);
    return true;
}

} // namespace Engine::Platform
