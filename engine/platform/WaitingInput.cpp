#include "engine/platform/WaitingInput.h"

#include <algorithm>
#include <array>
#include <poll.h>
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

} // namespace

std::string TakeWaitingInput(int fd, std::size_t limit)
{
    std::string taken;
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
