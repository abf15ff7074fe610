#include "engine/platform/ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace Engine::Platform {

namespace {

std::string Reason(const char* what, const std::string& path, int error)
{
    return std::string(what) + " \"" + path + "\": " + std::strerror(error);
}

// Made read-only by its owner, a file is the owner's to keep. A rename over
// it needs no write permission on the file at all, so the mode is asked
// first; by its bits, not access(), which says yes to root for any file.
std::string ReadOnlyReason(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || (status.st_mode & S_IWUSR) != 0)
        return {};
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
    return "\"" + path + "\" is read-only for its owner (mode " + mode + ")";
}

} // namespace

std::string ReplaceFileContents(const std::string& path, const std::string& text)
{
    if (std::string readOnly = ReadOnlyReason(path); !readOnly.empty())
        return readOnly;
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return Reason("cannot create", temporary, errno);

    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        const int error = !written ? writeError : errno;
        std::remove(temporary.c_str());
        return Reason("cannot write", temporary, error);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        return Reason("cannot replace", path, error);
    }
    return {};
}

} // namespace Engine::Platform
