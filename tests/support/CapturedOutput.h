#pragma once
#include <gtest/gtest.h>
#include <string>

// What an action printed to the console, for checking the engine's messages.
template <class Action>
std::string StderrOf(Action&& action)
{
    testing::internal::CaptureStderr();
    action();
    return testing::internal::GetCapturedStderr();
}

template <class Action>
std::string StdoutOf(Action&& action)
{
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
