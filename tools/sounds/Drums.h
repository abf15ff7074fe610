#pragma once
#include "tools/sounds/StereoBuffer.h"

#include <cstdint>

namespace SoundGen {

// Synthesised drum hits, each rendered once and placed many times.
Mono Kick(double punch);
Mono Snare(std::uint32_t seed);
Mono Clap(std::uint32_t seed);
// Closed hat when `open` is false; an open hat rings about six times longer.
Mono HiHat(std::uint32_t seed, bool open);
Mono Crash(std::uint32_t seed);

} // namespace SoundGen
