#pragma once

namespace Engine {

// Appends "[WARNING] \t\t" and the printf-formatted message, cut at 511
// characters, as one line to "log.txt" in the working directory. Always
// returns false so callers can `return LogWarning(...)` from a refusal.
bool LogWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace Engine
