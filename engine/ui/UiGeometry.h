#pragma once
#include "engine/render/GlBuffer.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

namespace Engine {
class ShaderProgram;
class Texture;
}

namespace Engine::UI {

// The GL objects every menu sprite and text shares, made by the first one
// that draws and kept until exit: the unit quad (corners -1 to 1, texture
// coordinates 0 to 1, six byte indices) and one dynamic glyph quad of four
// (x, y, u, v) vertices.
class UiGeometry {
public:
    static UiGeometry& Get();
    ~UiGeometry();
    UiGeometry(const UiGeometry&) = delete;
    UiGeometry& operator=(const UiGeometry&) = delete;

    // Two triangles over the unit quad.
    void DrawSpriteQuad();
    // One glyph quad, as a four-vertex fan.
    void DrawGlyphQuad(const glm::vec4 (&vertices)[4]);
    // Binds the texture on the active unit, or a white 1 x 1 texture in place
    // of a missing one or one without a GL name.
    void BindTexture(const Texture* texture);

private:
    UiGeometry() = default;
    void MakeSprite();
    void MakeGlyph();

    GLuint mSpriteArray = 0;
    GlBuffer mSpriteVertices;
    GlBuffer mSpriteIndices;
    GLuint mGlyphArray = 0;
    GlBuffer mGlyphVertices;
    GLuint mFallbackTexture = 0;
};

// The window's viewport, blending on, no depth test or culling: the state
// every menu draw expects.
void BeginUiDraw(const glm::vec2& windowSize);

// The 3 x 3 transform that scales by `scale`, then moves by `offset`.
glm::mat3 ScaleAndMove(const glm::vec2& scale, const glm::vec2& offset);

// Starts a draw with one of the two menu programs ("UI", "UIText"), which
// share their first locations: 0 the 3 x 3 transform, 1 the texture (unit 0,
// made active here), 2 the colour.
void UseUiProgram(const ShaderProgram& program, const glm::mat3& transform, const glm::vec4& colour);

} // namespace Engine::UI
