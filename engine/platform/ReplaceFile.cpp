#include "engine/platform/ReplaceFile.h"

#include "engine/platform/FileToReplace.h"
#include "engine/platform/PrivateTemporary.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

// A regular file of another user, not a link to one: a rename would put a
// new file of the running user's in its place.
bool BelongsToAnotherUser(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_uid != ::geteuid();
}

// Every byte, through short writes and interruptions. Returns how many
// went in: fewer than all with errno set.
std::size_t WriteAll(int file, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(file, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            if (wrote == 0)
                errno = EIO;
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return done;
}

// Another user's file that its mode lets this one write is written where it
// stands: it stays theirs, with its mode. The write is not all or nothing
// as a rename is, which is the price of not taking the file over: once a
// byte of the new text is in, a failed save has changed the file, and the
// caller must not call it kept.
Replacement WriteInPlace(const std::string& path, const std::string& text)
{
    const int file = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (file < 0)
        return {Reason("cannot open", path, errno)};
    const std::size_t wrote = WriteAll(file, text);
    const bool written = wrote == text.size() && ::ftruncate(file, static_cast<off_t>(text.size())) == 0;
    const int error = errno;
    const bool closed = ::close(file) == 0;
    if (written && closed)
        return {};
    Replacement failed{Reason("cannot write", path, !written ? error : errno), wrote > 0};
    if (failed.fileChanged)
        failed.failure += "; its old text is partly overwritten";
    return failed;
}

// The rename itself outlasts a power loss only once its folder is synced. If
// that fails, the save is still whole and in place for this run; a crash
// may at worst bring the old file back, whole too, so it is not a failure.
void SyncFolderOf(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    ::fsync(handle);
    ::close(handle);
}

// The text, then its final group and mode, then the sync, all before the
// rename: the rename may reach the disk before the data does, and after a
// power loss the file would then be there but empty. "" or why not, naming
// the file being saved: the temporary's name means nothing to its user and
// is new at every save.
std::string FillTemporary(int file, const std::string& target, const std::string& text)
{
    if (WriteAll(file, text) != text.size())
        return Reason("cannot write", target, errno);
    if (!TakeTheTargetsPermissions(file, target))
        return Reason("cannot keep the group and mode of", target, errno);
    if (::fsync(file) != 0)
        return Reason("cannot write", target, errno);
    return {};
}

Replacement ReplaceThroughTemporary(const std::string& target, const std::string& text)
{
    std::string temporary;
    const int file = CreatePrivateTemporary(target, temporary);
    if (file < 0)
        return {Reason("cannot create a temporary file beside", target, errno)};
    std::string failure = FillTemporary(file, target, text);
    if (::close(file) != 0 && failure.empty())
        failure = Reason("cannot write", target, errno);
    if (failure.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = Reason("cannot replace", target, errno);
    if (!failure.empty()) {
        ::unlink(temporary.c_str());
        return {failure};
    }
    SyncFolderOf(target);
    return {};
}

} // namespace

Replacement ReplaceFileContents(const std::string& path, const std::string& text)
{
    std::string target;
    if (std::string unfit = FindFileToReplace(path, target); !unfit.empty())
        return {unfit};
    if (std::string unwritable = UnwritableReason(target); !unwritable.empty())
        return {unwritable};
    if (BelongsToAnotherUser(target))
        return WriteInPlace(target, text);
    return ReplaceThroughTemporary(target, text);
}

} // namespace Engine::Platform
