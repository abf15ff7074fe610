#include "engine/platform/WaitingInput.h"

#include <fcntl.h>
#include <gtest/gtest.h>
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

    // An endless input stops at the limit.
    const int endless = open("/dev/zero", O_RDONLY);
    ASSERT_GE(endless, 0);
    EXPECT_EQ(Engine::Platform::TakeWaitingInput(endless, 5000).size(), 5000u);
    close(endless);
}

} // namespace
