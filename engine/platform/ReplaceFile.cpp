#include "engine/platform/ReplaceFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Engine::Platform {

namespace {

std::string Reason(const char* what, const std::string& path, int error)
{
    return std::string(what) + " \"" + path + "\": " + std::strerror(error);
}

std::string ModeText(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

bool InOneOfMyGroups(gid_t group)
{
    if (group == ::getegid())
        return true;
    std::vector<gid_t> groups(std::max(::getgroups(0, nullptr), 0));
    groups.resize(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// The bits that apply to the running user: the owner's, else the group's,
// else everyone else's, as the system itself picks them.
bool ModeLetsMeWrite(const struct stat& status)
{
    if (status.st_uid == ::geteuid())
        return (status.st_mode & S_IWUSR) != 0;
    if (InOneOfMyGroups(status.st_gid))
        return (status.st_mode & S_IWGRP) != 0;
    return (status.st_mode & S_IWOTH) != 0;
}

// A rename over a file needs no write permission on the file at all, only
// on its folder, and hands the new file to the running user. So a file made
// read-only by its owner, or another user's file this one may not write,
// is theirs to keep: the mode is asked first, by its bits, not access(),
// which says yes to root for any file.
std::string UnwritableReason(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return {};
    const std::string quoted = "\"" + path + "\"";
    if ((status.st_mode & S_IWUSR) == 0)
        return quoted + " is read-only for its owner (mode " + ModeText(status.st_mode) + ")";
    if (!ModeLetsMeWrite(status))
        return quoted + " belongs to uid " + std::to_string(status.st_uid) + " and its mode " +
               ModeText(status.st_mode) + " does not let uid " + std::to_string(::geteuid()) + " write it";
    return {};
}

} // namespace

std::string ReplaceFileContents(const std::string& path, const std::string& text)
{
    if (std::string unwritable = UnwritableReason(path); !unwritable.empty())
        return unwritable;
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
