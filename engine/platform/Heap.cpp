#include "engine/platform/Heap.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Engine::Platform {

namespace {

// A megabyte: decoded textures, imported models and level buffers are
// bigger, and come and go with levels rather than frames.
constexpr int kMappedFromBytes = 1 << 20;
// Free memory at the heap's top is kept up to this much: blocks below the
// mapping bar come and go every frame, and giving their pages back each
// time would fault them in again on the next frame.
constexpr int kKeptAtTopBytes = 8 << 20;

#if defined(__GLIBC__)
constexpr bool kGlibc = true;
#else
constexpr bool kGlibc = false;
#endif

} // namespace

bool BigBlocksCanBeMapped()
{
    return kGlibc && !kSanitizedAllocator;
}

void KeepBigBlocksMapped()
{
#if defined(__GLIBC__)
    // Setting the bar by hand also turns its raising off.
    if (BigBlocksCanBeMapped()) {
        mallopt(M_MMAP_THRESHOLD, kMappedFromBytes);
        mallopt(M_TRIM_THRESHOLD, kKeptAtTopBytes);
    }
#endif
}

} // namespace Engine::Platform
