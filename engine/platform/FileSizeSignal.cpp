#include "engine/platform/FileSizeSignal.h"

#include <csignal>

namespace Engine::Platform {

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

} // namespace Engine::Platform
