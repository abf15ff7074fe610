#include "engine/render/FontRenderComp.h"

#include "engine/core/Transform.h"
#include "engine/render/GlyphQuad.h"
#include "engine/render/Renderer.h"

namespace Engine {

namespace {

// Uniform locations of the "Text" program.
constexpr GLint kGlyphLocation = 0;
constexpr GLint kModelLocation = 2;
constexpr GLsizeiptr kQuadBytes = sizeof(std::array<glm::vec4, 6>);

} // namespace

FontRenderComp::FontRenderComp()
{
    glGenVertexArrays(1, &mVertexArray);
    glGenBuffers(1, &mVertexBuffer);
    glBindVertexArray(mVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, kQuadBytes, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(glm::vec4), nullptr);
    glBindVertexArray(0);
}

FontRenderComp::~FontRenderComp()
{
    glDeleteBuffers(1, &mVertexBuffer);
    glDeleteVertexArrays(1, &mVertexArray);
}

void FontRenderComp::ResolveFont()
{
    font = Renderer::GetInstance().fonts.Find(mFontName.value);
}

void FontRenderComp::Draw(EntityHandle, const ShaderProgram&) {}

void FontRenderComp::Draw(EntityHandle entity)
{
    if (!font)
        return;
    const ShaderProgram* program = Renderer::GetInstance().shaders.Find("Text");
    if (!program)
        return;
    program->Use();
    program->SetUniform(kModelLocation, Transform::GetWorldMatrix(entity));
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(mVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
    float pen = 0.0f;
    for (char16_t character : text) {
        const Glyph* glyph = font->Find(character);
        if (!glyph)
            continue;
        const std::array<glm::vec4, 6> quad = GlyphQuad(*glyph, pen);
        glBindTexture(GL_TEXTURE_2D, glyph->texture);
        program->SetUniform(kGlyphLocation, 0);
        glBufferSubData(GL_ARRAY_BUFFER, 0, kQuadBytes, quad.data());
        glDrawArrays(GL_TRIANGLES, 0, 6);
        pen += GlyphAdvance(*glyph);
    }
    glBindVertexArray(0);
}

} // namespace Engine
