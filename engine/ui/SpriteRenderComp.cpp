#include "engine/ui/SpriteRenderComp.h"

#include "engine/render/Renderer.h"
#include "engine/ui/Element.h"
#include "engine/ui/UiGeometry.h"
#include "engine/ui/UiHost.h"

namespace Engine::UI {

namespace {

// The "UI" program's depth, behind any text drawn with depth testing on.
constexpr GLint kDepth = 3;
constexpr float kSpriteDepth = 0.9f;

} // namespace

SpriteRenderComp::SpriteRenderComp() : texture(Renderer::GetInstance().textures.Find("White")) {}

void SpriteRenderComp::Render()
{
    const ShaderProgram* program = Renderer::GetInstance().shaders.Find("UI");
    if (!texture || !program)
        return;
    BeginUiDraw(Host().WindowSize());
    // The unit quad scaled to the element's half-sizes covers its box.
    UseUiProgram(*program, ScaleAndMove(owner->normalisedSize, owner->GetAnchorPoint()), colour);
    program->SetUniform(kDepth, kSpriteDepth);
    UiGeometry::Get().BindTexture(texture);
    UiGeometry::Get().DrawSpriteQuad();
}

} // namespace Engine::UI
