#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

// The link's console messages, all on standard output.
namespace Net {

// "<text>\n<details>\n\n": the form of messages that end in "more info:".
void PrintMoreInfo(const char* text, const std::string& details);
// "<text><code>\n": the form of messages that end in "error code: ".
void PrintErrorCode(const char* text, int code);
void PrintLine(const std::string& line);

// Lets a message through at most once a second per key, so that a peer
// (or a missing entity) that repeats a fault every frame cannot flood the
// console. The first one always passes.
class MessageLimiter {
public:
    static constexpr std::uint64_t kIntervalNs = 1000000000ull;

    bool Allow(const std::string& key, std::uint64_t nowNs);
    void Reset() { mLast.clear(); }

private:
    std::unordered_map<std::string, std::uint64_t> mLast;
};

} // namespace Net
