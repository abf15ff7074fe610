#include "engine/net/NetMessages.h"

#include <cstdio>

namespace Net {

void PrintMoreInfo(const char* text, const std::string& details)
{
    std::printf("%s\n%s\n\n", text, details.c_str());
    std::fflush(stdout);
}

void PrintErrorCode(const char* text, int code)
{
    std::printf("%s%d\n", text, code);
    std::fflush(stdout);
}

void PrintLine(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

bool MessageLimiter::Allow(const std::string& key, std::uint64_t nowNs)
{
    // A handful of fixed keys per link: the map stays small.
    const auto found = mLast.find(key);
    if (found != mLast.end() && nowNs - found->second < kIntervalNs)
        return false;
    mLast[key] = nowNs;
    return true;
}

} // namespace Net
