#include "engine/platform/PrivateTemporary.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace Engine::Platform {

namespace {

// The umask as the system reports it, without setting it: setting it and
// putting it back would give a file another thread makes in between the
// wrong mode. The set-and-restore is left for a system that does not say.
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (!line.starts_with("Umask:"))
            continue;
        char* end = nullptr;
        const unsigned long mask = std::strtoul(line.c_str() + 6, &end, 8);
        if (end != line.c_str() + 6 && *end == '\0' && mask <= 0777)
            return static_cast<mode_t>(mask);
        break;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The readers the user chose through the old file's group stay its readers.
// Only a group the user is in may be given (root may give any).
bool KeepTheGroup(int file, gid_t group)
{
    struct stat made {};
    if (::fstat(file, &made) == 0 && made.st_gid == group)
        return true;
    return ::fchown(file, static_cast<uid_t>(-1), group) == 0;
}

} // namespace

int CreatePrivateTemporary(const std::string& target, std::string& temporary)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + ".tmp-";
        for (int i = 0; i < 10; ++i)
            temporary += kLetters[letter(random)];
        const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (file >= 0 || errno != EEXIST)
            return file;
    }
    return -1;
}

// The group before the mode: group bits set while the file is still in the
// user's own group would open it to that group. Where the old group cannot
// be given, its bits are cleared rather than handed to another group.
bool TakeTheTargetsPermissions(int file, const std::string& target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return errno == ENOENT && ::fchmod(file, 0666 & ~CurrentUmask()) == 0;
    mode_t mode = old.st_mode & 07777;
    if (!KeepTheGroup(file, old.st_gid))
        mode &= ~static_cast<mode_t>(S_IRWXG);
    return ::fchmod(file, mode) == 0;
}

} // namespace Engine::Platform
