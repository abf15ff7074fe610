#include "engine/platform/WaitingInput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

TEST(WaitingInput, TakesWhatArrivedUpToTheLimitAndNeverWaits)
{
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(pipeEnds[0]), "") << "nothing written yet";
    ASSERT_EQ(write(pipeEnds[1], "10.0.0.2\nrest", 13), 13);
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(pipeEnds[0], 9), "10.0.0.2\n");
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(pipeEnds[0]), "rest");
    close(pipeEnds[1]);
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(pipeEnds[0]), "") << "the end of the input";
    close(pipeEnds[0]);
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(pipeEnds[0]), "") << "a closed descriptor";

    // A file is always ready to read: a long one stops at the limit.
    const ScopedTempDir dir;
    WriteFileText("typed", std::string(6000, '1'));
    const int file = open("typed", O_RDONLY);
    ASSERT_GE(file, 0);
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(file, 5000).size(), 5000u);
    close(file);
}

// Started without standard input, the display's connection takes
// descriptor 0: its bytes are waiting, and none of them was typed.
TEST(WaitingInput, ASocketIsNotTypedInput)
{
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    ASSERT_EQ(write(ends[1], "\x01\x00\x0b", 3), 3);
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(ends[0]), "");
    char left[4];
    EXPECT_EQ(recv(ends[0], left, sizeof left, MSG_DONTWAIT), 3) << "the bytes stay for their reader";
    close(ends[0]);
    close(ends[1]);
}

} // namespace
