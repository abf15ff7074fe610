#include "engine/render/RenderComp.h"

#include "engine/core/Transform.h"
#include "engine/render/AlphaRenderComp.h"
#include "engine/render/CameraTarget.h"
#include "engine/render/Material.h"
#include "engine/render/Model.h"
#include "engine/render/Renderer.h"
#include "engine/render/ShaderClock.h"
#include "engine/render/ShaderProgram.h"

namespace Engine {

void RenderCompBase::ResolveResources()
{
    Renderer& renderer = Renderer::GetInstance();
    shader = renderer.shaders.Find(mShaderName.value);
    model = renderer.models.Find(mModelName.value);
    material = renderer.materials.Find(mMaterialName.value);
}

void RenderCompBase::Prepare(EntityHandle entity, const ShaderProgram& program)
{
    drawTime = AdvanceShaderClock(drawTime, kDrawTimeStep);
    program.Use();
    program.SetUniform(kModelLocation, Transform::GetWorldMatrix(entity));
    program.SetUniform("uAmbientColor", mAmbientColor.value);
    program.SetUniform("uDiffuseColor", mDiffuseColor.value);
    program.SetUniform("uSpecularColor", mSpecularColor.value);
    program.SetUniform("uMetalness", mMetalness.value);
    program.SetUniform("uTime", drawTime);
    Material::Bind(material, program);
}

void RenderCompBase::Draw(EntityHandle entity, const ShaderProgram& program)
{
    if (!model)
        return;
    Prepare(entity, program);
    model->Draw();
}

void RenderCompBase::Draw(EntityHandle entity)
{
    if (!shader)
        return;
    Draw(entity, *shader);
}

bool RenderComp::IsSeenBy(int cameraIndex) const
{
    return mNotRenderCam.value != cameraIndex && CameraDraws(mCameraTarget.value, cameraIndex);
}

void AlphaRenderComp::Draw(EntityHandle entity)
{
    if (!shader || !model)
        return;
    const GLenum culling = shader->cullMode;
    if (culling != ShaderProgram::kCullNone && culling != GL_FRONT && culling != GL_BACK)
        return;
    Prepare(entity, *shader);
    if (culling == ShaderProgram::kCullNone) {
        glCullFace(GL_FRONT);
        model->Draw();
        glCullFace(GL_BACK);
    } else {
        glCullFace(culling);
    }
    model->Draw();
}

} // namespace Engine
