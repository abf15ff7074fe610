#include "engine/platform/DocumentsFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace Engine::Platform {

namespace {

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A user-dirs.dirs value is quoted and may start with $HOME; anything else
// must be an absolute path.
std::string ExpandValue(std::string value, const std::string& home)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    const std::string homeVariable = "$HOME";
    if (value.starts_with(homeVariable) && !home.empty())
        return home + value.substr(homeVariable.size());
    return value.starts_with("/") ? value : std::string();
}

} // namespace

std::string HomeFolder()
{
    std::string home = Variable("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

std::string DocumentsDirFromUserDirs(const std::string& userDirsText, const std::string& home)
{
    const std::string key = "XDG_DOCUMENTS_DIR=";
    std::istringstream lines(userDirsText);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        return ExpandValue(line.substr(start + key.size()), home);
    }
    return {};
}

std::string DocumentsFolder()
{
    const std::string home = HomeFolder();
    std::string folder = Variable("XDG_DOCUMENTS_DIR");
    if (folder.empty() && !home.empty())
        folder = DocumentsDirFromUserDirs(ReadWholeFile(home + "/.config/user-dirs.dirs"), home);
    if (folder.empty() && !home.empty())
        folder = home + "/Documents";
    if (folder.empty())
        return {};
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace Engine::Platform
