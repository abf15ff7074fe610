#pragma once

namespace Engine::Platform {

// Puts /dev/null on each of descriptors 0, 1 and 2 that is closed. Started
// with one of them closed (a launcher may), the process would hand that
// number to the first file or connection it opens, and what is meant for
// the console would be read from, or written into, that one. Call it first,
// before anything is opened.
void FillClosedStandardDescriptors();

} // namespace Engine::Platform
