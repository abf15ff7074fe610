#pragma once

namespace Engine {

// Length of the "uLights" array in every lit program. The shader sources do
// not spell it out: each source gets "#define MAX_LIGHTS" with this value
// before it is compiled, so C++ and GLSL cannot disagree.
constexpr int kMaxLights = 8;

// What the lit programs must handle for a frame's lights: none at all, only
// point lights (every type but 1, directional, and 2, spot), or any kind.
enum class LightKinds { None, Point, Any };

} // namespace Engine
