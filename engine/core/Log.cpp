#include "engine/core/Log.h"

#include <cstdarg>
#include <cstdio>

namespace Engine {

bool LogWarning(const char* format, ...)
{
    std::FILE* file = std::fopen("log.txt", "a");
    if (!file)
        return false;
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    std::fputs("[WARNING] \t\t", file);
    std::fputs(message, file);
    std::fputs("\n", file);
    std::fflush(file);
    std::fclose(file);
    return false;
}

} // namespace Engine
