#pragma once
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

// For what only a new process still shows (nothing loaded, nothing made
// yet): runs `check` in a process started anew from this test binary for
// this test alone (gtest's "threadsafe" death-test style executes the binary
// again rather than forking this one). `check` returns what went wrong, or
// nothing; the test fails with its words.
inline void ExpectInFreshProcess(const std::function<std::string()>& check)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string problems = check();
            std::fputs(problems.c_str(), stderr);
            std::_Exit(problems.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
