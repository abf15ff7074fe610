#pragma once
#include "tools/sounds/StereoBuffer.h"

namespace SoundGen {

// Title menus: a calm intro that leads into a loop of the same tempo and key.
StereoBuffer MenuIntro();
StereoBuffer MenuLoop(); // loops
// The match: a build-up, then the driving loop under the play.
StereoBuffer MatchIntro();
StereoBuffer MatchLoop(); // loops
// The arena-flip event: a half-time wobble track that interrupts the match loop.
StereoBuffer EventTrack();

} // namespace SoundGen
