#include "engine/platform/WaitingInput.h"

#include <algorithm>
#include <array>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Engine::Platform {

namespace {

bool SomethingWaiting(int fd)
{
    pollfd watched{fd, POLLIN, 0};
    // A zero time-out only looks; a closed or invalid descriptor reports no
    // POLLIN.
    return ::poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN) != 0;
}

// What a person or a script types into: a terminal, a pipe or a file. The
// descriptor may be something else (a socket of the display's connection,
// when the process was started without standard input), whose bytes are
// nobody's typing and not ours to take.
bool IsTypedInput(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return false;
    return S_ISFIFO(status.st_mode) || S_ISREG(status.st_mode) || ::isatty(fd) == 1;
}

} // namespace

std::string TakeWaitingInput(int fd, std::size_t limit)
{
    std::string taken;
    if (!IsTypedInput(fd))
        return taken;
    std::array<char, 512> chunk{};
    while (taken.size() < limit && SomethingWaiting(fd)) {
        const std::size_t wanted = std::min(chunk.size(), limit - taken.size());
        const ssize_t got = ::read(fd, chunk.data(), wanted);
        if (got <= 0)
            break;
        taken.append(chunk.data(), static_cast<std::size_t>(got));
    }
    return taken;
}

} // namespace Engine::Platform
