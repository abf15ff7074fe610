#include "engine/render/GlyphQuad.h"

namespace Engine {

std::array<glm::vec4, 6> GlyphQuad(const Glyph& glyph, float penX)
{
    const float x = penX + static_cast<float>(glyph.bearingX) / kTextPixelsPerUnit;
    const float y = -static_cast<float>(glyph.rows - glyph.bearingY) / kTextPixelsPerUnit;
    const float w = static_cast<float>(glyph.width) / kTextPixelsPerUnit;
    const float h = static_cast<float>(glyph.rows) / kTextPixelsPerUnit;
    return {glm::vec4(x, y + h, 0.0f, 0.0f), glm::vec4(x, y, 0.0f, 1.0f),     glm::vec4(x + w, y, 1.0f, 1.0f),
            glm::vec4(x, y + h, 0.0f, 0.0f), glm::vec4(x + w, y, 1.0f, 1.0f), glm::vec4(x + w, y + h, 1.0f, 0.0f)};
}

float GlyphAdvance(const Glyph& glyph)
{
    return static_cast<float>(glyph.advance >> 6) / kTextPixelsPerUnit;
}

} // namespace Engine
