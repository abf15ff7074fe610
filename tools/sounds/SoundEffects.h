#pragma once
#include "tools/sounds/StereoBuffer.h"

namespace SoundGen {

// Menus.
StereoBuffer HoverTick();
StereoBuffer MenuClick();
StereoBuffer LoadingRise();

// The player.
StereoBuffer Footsteps(); // loops
StereoBuffer OutOfEnergy();
StereoBuffer PlayerHit();
StereoBuffer Teleport();

// The arena and its balls.
StereoBuffer TileGrind();
StereoBuffer ShieldHum(); // loops
StereoBuffer StunBuzz();  // loops
StereoBuffer BallBounce();
StereoBuffer GoalChime();
StereoBuffer EventCooldown();

} // namespace SoundGen
