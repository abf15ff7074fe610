#include "engine/ui/SpriteRenderComp.h"

#include "engine/render/Renderer.h"
#include "engine/ui/Element.h"
#include "engine/ui/UiGeometry.h"
#include "engine/ui/UiHost.h"

namespace Engine::UI {

namespace {

// Uniform locations of the "UI" program.
constexpr GLint kTransform = 0;
constexpr GLint kTexture = 1;
constexpr GLint kColour = 2;
constexpr GLint kDepth = 3;
constexpr float kSpriteDepth = 0.9f;

} // namespace

SpriteRenderComp::SpriteRenderComp() : texture(Renderer::GetInstance().textures.Find("White")) {}

glm::mat3 BoxTransform(const glm::vec2& anchorPoint, const glm::vec2& normalisedSize)
{
    glm::mat3 transform(1.0f);
    transform[0][0] = normalisedSize.x;
    transform[1][1] = normalisedSize.y;
    transform[2] = glm::vec3(anchorPoint, 1.0f);
    return transform;
}

void SpriteRenderComp::Render()
{
    const ShaderProgram* program = Renderer::GetInstance().shaders.Find("UI");
    if (!texture || !program)
        return;
    BeginUiDraw(Host().WindowSize());
    program->Use();
    program->SetUniform(kTransform, BoxTransform(owner->GetAnchorPoint(), owner->normalisedSize));
    program->SetUniform(kTexture, 0);
    program->SetUniform(kColour, colour.r, colour.g, colour.b, colour.a);
    program->SetUniform(kDepth, kSpriteDepth);
    glActiveTexture(GL_TEXTURE0);
    UiGeometry::Get().BindTexture(texture);
    UiGeometry::Get().DrawSpriteQuad();
}

} // namespace Engine::UI
