#pragma once
#include "engine/core/EntityHandle.h"

#include <glm/glm.hpp>

class Player_LogicComp;
class PlayerControls;

// The movement rules that several movement states share.
namespace PlayerBody {

// How far below the player's feet the floor is: the nearer of the surface a
// ray meets and the room's floor (the top of a tile lowered two steps);
// infinity when there is neither (the player is in the air). Feet inside a
// floor tile give minus their depth below its top.
float GroundDistance(const Player_LogicComp& player);

// Floats the player "LevitScale" above the surface under its feet, or lets
// it fall with its own gravity when that is farther. True when it stands.
bool Hover(Player_LogicComp& player);

// The acceleration of the move keys (each axis -1, 0 or 1) or the left
// stick: an axis counts once it is past the dead zone, and moves along the
// camera's levelled forward and its right by `step`.
glm::vec3 Acceleration(const glm::vec2& axes, const glm::vec3& forward, const glm::vec3& right, float step,
                       float deadZone);

// Adds the acceleration to the horizontal velocity, each axis capped at
// `maxSpeed` on its own (so a diagonal can go faster).
void Accelerate(glm::vec3& velocity, const glm::vec3& acceleration, float maxSpeed);

// The move keys or the stick of the player, as axes (x right, y forward).
glm::vec2 MoveAxes(const PlayerControls& controls);

// How far the view turns in a frame, in radians to the right and up: the
// mouse's motion in the frame's pump, a fixed angle per pixel; or the right
// stick scaled by the pad's look speeds and the frame's time.
glm::vec2 LookDelta(const Player_LogicComp& player, const PlayerControls& controls, float sensitivity);

// Puts the camera at the player's eyes and turns its aim by the delta, by
// heading and by height, never as far as straight up or down.
void Look(Player_LogicComp& player, const glm::vec2& delta);

} // namespace PlayerBody
