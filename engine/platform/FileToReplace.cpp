#include "engine/platform/FileToReplace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace Engine::Platform {

namespace {

// As many links as the system itself follows in one path.
constexpr int kMostLinks = 40;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A link's end as the system finds it: the folders that are there by their
// real path, so that no "../" of the link's text shows; the raw text when
// even that cannot be worked out.
std::string Resolved(const std::string& target)
{
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? target : resolved.string();
}

// A message's subject: the path, or the link and the file it leads to.
std::string Named(const std::string& path, const std::string& target)
{
    return target == path ? Quoted(path) : Quoted(path) + " leads to " + Quoted(Resolved(target)) + ", which";
}

const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a file of an unknown kind";
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The temporary file goes beside the target, so its folder must be there.
// A followed link's target is named by the folder's real path, so that the
// messages name no "../" of the link's text.
std::string SettleInItsFolder(const std::string& path, std::string& target)
{
    const std::string folder = FolderOf(target);
    char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
    if (!real) {
        const int error = errno;
        return Named(path, target) + (error == ENOENT ? " is in a folder that does not exist"
                                                      : " is in a folder that cannot be reached: " +
                                                            std::string(std::strerror(error)));
    }
    if (target != path)
        target = std::string(real) + (real[1] != '\0' ? "/" : "") + target.substr(folder.size());
    std::free(real);
    return {};
}

} // namespace

std::string FindFileToReplace(const std::string& path, std::string& target)
{
    target = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0) {
            const int error = errno;
            if (error != ENOENT)
                return Named(path, target) + " cannot be looked at: " + std::strerror(error);
            return SettleInItsFolder(path, target);
        }
        if (S_ISREG(status.st_mode))
            return SettleInItsFolder(path, target);
        if (!S_ISLNK(status.st_mode))
            return Named(path, target) + " is " + KindOf(status.st_mode) + ", not a regular file";
        std::error_code error;
        const std::string next = std::filesystem::read_symlink(target, error).string();
        if (links == kMostLinks)
            error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
        if (error)
            return "cannot follow the symbolic link " + Quoted(path) + ": " + error.message();
        target = next.starts_with('/') ? next : FolderOf(target) + next;
    }
}

} // namespace Engine::Platform
