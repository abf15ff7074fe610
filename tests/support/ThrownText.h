#pragma once
#include <string>

// The text of the exception of class Error that an action throws, or "" when
// it throws none; other classes pass through and fail the test.
template <class Error, class Action>
std::string ThrownText(Action&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}
