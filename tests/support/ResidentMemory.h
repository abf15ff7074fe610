#pragma once
#include "engine/platform/Heap.h"

#include <cstdlib>
#include <fstream>
#include <string>

// What long runs read of their own memory.
//
// Under the address sanitizer freed memory waits in quarantine and resident
// memory grows by design: there a run only has to end well.
constexpr bool kMemoryMeasured = !Engine::Platform::kSanitizedAllocator;

// Resident set size in kibibytes, from the kernel's own account; -1 when
// it cannot be read.
inline long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// A whole number of seconds from the environment; the fallback when unset,
// not a number or not above zero.
inline int SecondsFromEnvironment(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    const int seconds = text ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : fallback;
}
