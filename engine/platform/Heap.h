#pragma once

namespace Engine::Platform {

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
