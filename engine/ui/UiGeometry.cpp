#include "engine/ui/UiGeometry.h"

#include "engine/render/ShaderProgram.h"
#include "engine/render/Texture.h"

#include <cstdint>

namespace Engine::UI {

namespace {

constexpr GLsizei kVertexBytes = 4 * sizeof(float);

void PointAttributeAtVec4()
{
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, kVertexBytes, nullptr);
}

} // namespace

UiGeometry& UiGeometry::Get()
{
    static UiGeometry geometry;
    return geometry;
}

UiGeometry::~UiGeometry()
{
    if (mSpriteArray)
        glDeleteVertexArrays(1, &mSpriteArray);
    if (mGlyphArray)
        glDeleteVertexArrays(1, &mGlyphArray);
    if (mFallbackTexture)
        glDeleteTextures(1, &mFallbackTexture);
}

void UiGeometry::MakeSprite()
{
    const float corners[] = {-1.0f, -1.0f, 0.0f, 0.0f, 1.0f, -1.0f, 1.0f, 0.0f,
                             1.0f,  1.0f,  1.0f, 1.0f, -1.0f, 1.0f, 0.0f, 1.0f};
    const std::uint8_t indices[] = {0, 1, 2, 0, 2, 3};
    glGenVertexArrays(1, &mSpriteArray);
    glBindVertexArray(mSpriteArray);
    mSpriteVertices.Create(sizeof corners, corners);
    mSpriteVertices.Bind();
    PointAttributeAtVec4();
    // The element array binding is part of the vertex array's state.
    mSpriteIndices.Create(sizeof indices, indices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mSpriteIndices.Name());
    glBindVertexArray(0);
}

void UiGeometry::MakeGlyph()
{
    glGenVertexArrays(1, &mGlyphArray);
    glBindVertexArray(mGlyphArray);
    mGlyphVertices.Create(4 * kVertexBytes, nullptr);
    mGlyphVertices.Bind();
    PointAttributeAtVec4();
    glBindVertexArray(0);
}

void UiGeometry::DrawSpriteQuad()
{
    if (!mSpriteArray)
        MakeSprite();
    glBindVertexArray(mSpriteArray);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, nullptr);
    glBindVertexArray(0);
}

void UiGeometry::DrawGlyphQuad(const glm::vec4 (&vertices)[4])
{
    if (!mGlyphArray)
        MakeGlyph();
    glBindVertexArray(mGlyphArray);
    mGlyphVertices.Write(sizeof vertices, vertices);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    glBindVertexArray(0);
}

void UiGeometry::BindTexture(const Texture* texture)
{
    if (texture && texture->Id() != 0) {
        texture->Bind();
    } else {
        if (!mFallbackTexture) {
            const std::uint8_t white[4] = {255, 255, 255, 255};
            glGenTextures(1, &mFallbackTexture);
            glBindTexture(GL_TEXTURE_2D, mFallbackTexture);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        }
        glBindTexture(GL_TEXTURE_2D, mFallbackTexture);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void BeginUiDraw(const glm::vec2& windowSize)
{
    glViewport(0, 0, static_cast<GLsizei>(windowSize.x), static_cast<GLsizei>(windowSize.y));
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

glm::mat3 ScaleAndMove(const glm::vec2& scale, const glm::vec2& offset)
{
    glm::mat3 transform(1.0f);
    transform[0][0] = scale.x;
    transform[1][1] = scale.y;
    transform[2] = glm::vec3(offset, 1.0f);
    return transform;
}

void UseUiProgram(const ShaderProgram& program, const glm::mat3& transform, const glm::vec4& colour)
{
    constexpr GLint kTransform = 0;
    constexpr GLint kTexture = 1;
    constexpr GLint kColour = 2;
    program.Use();
    program.SetUniform(kTransform, transform);
    program.SetUniform(kTexture, 0);
    program.SetUniform(kColour, colour.r, colour.g, colour.b, colour.a);
    glActiveTexture(GL_TEXTURE0);
}

} // namespace Engine::UI
