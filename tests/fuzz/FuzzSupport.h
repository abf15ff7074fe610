#pragma once
// What the fuzz targets share: checks beyond "it did not crash", and quiet
// consoles. A failed check aborts, which libFuzzer reports as a finding
// with the input that caused it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace Fuzz {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// The parsers explain every refusal on std::cerr or std::clog; thousands of
// lines a second would only slow the run. libFuzzer's own reports go to the
// stderr descriptor and still show.
inline void QuietStreams()
{
    static std::ostream* const streams[] = {&std::cout, &std::cerr, &std::clog};
    for (std::ostream* stream : streams)
        stream->rdbuf(nullptr);
}

inline std::string Text(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

} // namespace Fuzz
