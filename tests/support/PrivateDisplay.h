#pragma once
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

// An X server of the test's own (Xvfb, 1280 x 720), made the display of this
// process. Tests that drive a window for long, or look at it from the
// outside, run there: on a shared display other tests' windows cover it,
// take its focus and move the pointer it reads.
//
// The server ends with the test's process, not with this object: windows
// and GL contexts made on it are released at exit, and must not find their
// server gone before.
class PrivateDisplay {
public:
    PrivateDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        mServer = fork();
        if (mServer == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x720x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        const std::string number = ReadLine(fds[0]);
        close(fds[0]);
        if (mServer > 0 && !number.empty()) {
            mName = ":" + number;
            setenv("DISPLAY", mName.c_str(), 1);
        }
    }
    ~PrivateDisplay() = default;
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // Empty when no server started.
    const std::string& Name() const { return mName; }

private:
    // The server writes its display number once it accepts connections; on
    // a machine busy with every other test that can take a while.
    static std::string ReadLine(int fd)
    {
        std::string line;
        pollfd wait{fd, POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, 30000) > 0) {
            const ssize_t got = read(fd, &c, 1);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0 || c == '\n')
                break;
            line.push_back(c);
        }
        return line;
    }

    pid_t mServer = -1;
    std::string mName;
};
