#include "engine/platform/StandardStreams.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool IsDevNull(int fd)
{
    struct stat seen {};
    struct stat null {};
    return fstat(fd, &seen) == 0 && stat("/dev/null", &null) == 0 && S_ISCHR(seen.st_mode) &&
           seen.st_rdev == null.st_rdev;
}

// In a child, so this process keeps its own descriptors: the exit status
// says which check failed, 0 for none.
int ChildExitStatus(int (*check)())
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        _exit(check());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

// Standard input and error closed, as a launcher may start the game: both
// read and write nothing, standard output stays where it was, and the next
// file opened takes a number of its own.
TEST(StandardStreams, ClosedDescriptorsGetDevNullBeforeAnythingElseTakesThem)
{
    const int status = ChildExitStatus([] {
        struct stat before {};
        fstat(STDOUT_FILENO, &before);
        close(STDIN_FILENO);
        close(STDERR_FILENO);
        Engine::Platform::FillClosedStandardDescriptors();
        if (!IsDevNull(STDIN_FILENO) || (fcntl(STDIN_FILENO, F_GETFL) & O_ACCMODE) != O_RDONLY)
            return 1;
        if (!IsDevNull(STDERR_FILENO) || (fcntl(STDERR_FILENO, F_GETFL) & O_ACCMODE) != O_WRONLY)
            return 2;
        struct stat after {};
        fstat(STDOUT_FILENO, &after);
        if (after.st_ino != before.st_ino || after.st_dev != before.st_dev)
            return 3;
        const int next = open("/dev/null", O_RDONLY);
        return next > STDERR_FILENO ? 0 : 4;
    });
    EXPECT_EQ(status, 0);
}

} // namespace
