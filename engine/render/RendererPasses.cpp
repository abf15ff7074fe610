#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/FontRenderCompManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/UniformTypes.h"
#include "engine/render/ViewVolume.h"

namespace Engine {

namespace {

// Location of the canvas projection in "Quad" and "Text".
constexpr GLint kCanvasLocation = 1;

glm::mat4 ViewProjection(const Camera& camera)
{
    return camera.GetProjectionMatrix() * camera.GetViewMatrix();
}

// Samplers and other values sit at location 0 of the full-screen and
// screen-space programs; a matrix there would only raise GL errors.
void UseWithViewProjection(const ShaderProgram& program, const glm::mat4& viewProjection)
{
    program.Use();
    if (UniformTypeAt(program, 0) == GL_FLOAT_MAT4)
        program.SetUniform(0, viewProjection);
}

// Components that draw with their own program find the camera already set
// in it; the transparent pass also runs each program's per-draw hook.
void PrepareEveryProgram(const Registry<ShaderProgram>& shaders, const Camera& camera, bool withHook)
{
    const glm::mat4 viewProjection = ViewProjection(camera);
    for (const auto& [name, program] : shaders) {
        if (!program->Linked())
            continue;
        UseWithViewProjection(*program, viewProjection);
        if (withHook)
            program->BeforeDraw(camera);
    }
}

// The opaque and the instanced pass: with a program every component draws
// with it, without one each with its own.
template <class Manager>
void DrawPass(Manager& manager, const Registry<ShaderProgram>& shaders, const Camera& camera,
              const ShaderProgram* program)
{
    const int cameraIndex = camera.mCameraIndex.value;
    if (program) {
        UseWithViewProjection(*program, ViewProjection(camera));
        manager.Render(*program, cameraIndex);
    } else {
        PrepareEveryProgram(shaders, camera, false);
        manager.Render(cameraIndex);
    }
}

// The screen-space passes: over the camera's canvas, without depth testing.
template <class Manager>
void CanvasPass(const ShaderProgram* program, Manager& manager, const Camera& camera)
{
    if (!program)
        return;
    glDisable(GL_DEPTH_TEST);
    program->Use();
    program->SetUniform(kCanvasLocation, camera.GetOrthoMatrix());
    manager.Render(camera.mCameraIndex.value);
    glEnable(GL_DEPTH_TEST);
}

} // namespace

void Renderer::RenderOpaque(const Camera& camera, const ShaderProgram* program)
{
    DrawPass(RenderCompManager::GetInstance(), shaders, camera, program);
}

void Renderer::RenderInstanced(const Camera& camera, const ShaderProgram* program)
{
    InstancedRenderableManager& manager = InstancedRenderableManager::GetInstance();
    if (!program) {
        DrawPass(manager, shaders, camera, program);
        return;
    }
    const glm::mat4 viewProjection = ViewProjection(camera);
    UseWithViewProjection(GreyPairBuild(OneColourNormalBuild(*program)), viewProjection);
    UseWithViewProjection(OneColourNormalBuild(*program), viewProjection);
    UseWithViewProjection(*program, viewProjection);
    manager.Render(*program, camera.mCameraIndex.value, ViewVolume(viewProjection, camera.mPos.value));
}

void Renderer::RenderAlpha(const Camera& camera, const ShaderProgram* program)
{
    AlphaRenderCompManager& manager = AlphaRenderCompManager::GetInstance();
    manager.SortByDistance(camera);
    if (program) {
        UseWithViewProjection(*program, ViewProjection(camera));
        program->BeforeDraw(camera);
        manager.Render(*program, camera);
    } else {
        PrepareEveryProgram(shaders, camera, true);
        manager.Render(camera);
    }
    // A program that culls front faces leaves them culled; the passes after
    // this one draw camera-facing quads.
    glCullFace(GL_BACK);
}

void Renderer::RenderHUD(const Camera& camera)
{
    CanvasPass(shaders.Find("Quad"), HUDCompManager::GetInstance(), camera);
}

void Renderer::RenderText(const Camera& camera)
{
    CanvasPass(shaders.Find("Text"), FontRenderCompManager::GetInstance(), camera);
}

void Renderer::SetSelectionColours(const glm::vec3& selection, float maxColourDistance, const glm::vec3& border)
{
    for (const char* name : {"Cel_Instanced", "Default_Instanced"}) {
        const ShaderProgram* registered = shaders.Find(name);
        if (!registered)
            continue;
        for (const ShaderProgram* program : mLitBuilds.All(*registered)) {
            program->Use();
            program->SetUniform("uSelectColour", selection);
            program->SetUniform("uMaxColourDist", maxColourDistance);
            program->SetUniform("uBorderColour", border);
        }
    }
    for (const char* name : {"Cel", "Default"}) {
        const ShaderProgram* program = shaders.Find(name);
        if (!program)
            continue;
        program->Use();
        program->SetUniform("uBorderColour", border);
    }
}

} // namespace Engine
