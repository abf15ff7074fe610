#include "engine/platform/StandardStreams.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace Engine::Platform {

namespace {

bool IsClosed(int fd) { return ::fcntl(fd, F_GETFD) == -1 && errno == EBADF; }

} // namespace

void FillClosedStandardDescriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (!IsClosed(fd))
            continue;
        // open() takes the lowest free number, which is this one unless a
        // lower one was closed too; those were filled first.
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

void KeepOutputInWholeLines() { std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); }

} // namespace Engine::Platform
