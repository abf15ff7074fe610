#pragma once

namespace Engine::Platform {

// A write past the file-size limit (ulimit -f) raises SIGXFSZ, which kills
// the process in the middle of a save and leaves its temporary file behind.
// Ignored, the write fails with EFBIG instead, and the save says why and
// cleans up. Call it once at start-up.
void IgnoreFileSizeSignal();

} // namespace Engine::Platform
