#pragma once
#include "engine/render/Font.h"

#include <array>
#include <glm/glm.hpp>

namespace Engine {

// Text is laid out in the entity's local units at 27 pixels per unit, on one
// line whose baseline starts at the local origin.
constexpr float kTextPixelsPerUnit = 27.0f;

// The two triangles of one glyph with the pen at penX: vertices (x, y, u, v),
// v = 0 at the bitmap's top row.
std::array<glm::vec4, 6> GlyphQuad(const Glyph& glyph, float penX);
// How far the pen moves after the glyph: its advance in whole pixels.
float GlyphAdvance(const Glyph& glyph);

} // namespace Engine
