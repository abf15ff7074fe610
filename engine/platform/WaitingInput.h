#pragma once
#include <cstddef>
#include <string>

namespace Engine::Platform {

// What has already arrived on the file descriptor (standard input unless
// told), at most `limit` bytes, taken without ever waiting: "" when nothing
// is waiting, at the end of the input and on any error. A terminal hands
// over whole lines only, once Return was pressed. Only a terminal, a pipe or
// a regular file is read: anything else gives "".
std::string TakeWaitingInput(int fd = 0, std::size_t limit = 4096);

} // namespace Engine::Platform
