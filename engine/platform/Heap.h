#pragma once

namespace Engine::Platform {

// Whether the address sanitizer brought an allocator of its own: freed
// memory then waits in quarantine, and the C library's settings do nothing.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitizedAllocator = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitizedAllocator = true;
#else
inline constexpr bool kSanitizedAllocator = false;
#endif
#else
inline constexpr bool kSanitizedAllocator = false;
#endif

// Big blocks (a megabyte and more: decoded images, imported meshes, level
// and recording buffers) are mapped from the system one by one and handed
// back the moment they are freed.
//
// Left alone, the C library raises its bar for mapping a block each time a
// mapped block is freed; from then on blocks below the new bar come from the
// shared heap, where a small allocation made after them pins the heap's top
// and what they free stays resident. Match after match the process then
// holds tens of megabytes it no longer uses. A fixed bar keeps the first
// behaviour for good. Called once at start-up, before the window exists.
void KeepBigBlocksMapped();

// Whether KeepBigBlocksMapped can act here: false where the C library has
// no such setting or a sanitizer replaced the allocator.
bool BigBlocksCanBeMapped();

} // namespace Engine::Platform
