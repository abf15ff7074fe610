#include "engine/platform/ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Engine::Platform {

namespace {

std::string Reason(const char* what, const std::string& path, int error)
{
    return std::string(what) + " \"" + path + "\": " + std::strerror(error);
}

} // namespace

std::string ReplaceFileContents(const std::string& path, const std::string& text)
{
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
