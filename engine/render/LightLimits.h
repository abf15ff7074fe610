#pragma once

namespace Engine {

// Length of the "uLights" array in every lit program. The shader sources do
// not spell it out: each source gets "#define MAX_LIGHTS" with this value
// before it is compiled, so C++ and GLSL cannot disagree.
constexpr int kMaxLights = 8;

} // namespace Engine
