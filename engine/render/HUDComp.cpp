#include "engine/render/HUDComp.h"

#include "engine/core/Transform.h"
#include "engine/render/Renderer.h"

namespace Engine {

HUDComp::HUDComp() : model(Renderer::GetInstance().models.Find("Quad")) {}

void HUDComp::ResolveTexture()
{
    texture = Renderer::GetInstance().textures.Find(mTextureName.value);
}

bool HUDComp::IsSeenBy(int cameraIndex) const
{
    const int target = mCameraTarget.value;
    return target == -1 || target == cameraIndex;
}

void HUDComp::Draw(EntityHandle entity)
{
    // A shape faded out to nothing (a medal between its showings) blends to
    // the very pixels under it: drawing it would only cost its area, which
    // on a software rasteriser is most of what a camera's HUD costs.
    if (!texture || !model || mColor.value.w <= 0.0f)
        return;
    const ShaderProgram* quad = Renderer::GetInstance().shaders.Find("Quad");
    if (!quad)
        return;
    quad->Use();
    quad->SetUniform(kModelLocation, Transform::GetWorldMatrix(entity));
    const glm::vec4& colour = mColor.value;
    quad->SetUniform(kColourLocation, colour.x, colour.y, colour.z, colour.w);
    glActiveTexture(GL_TEXTURE0);
    texture->Bind();
    quad->SetUniform(kTextureLocation, 0);
    model->Draw();
}

} // namespace Engine
