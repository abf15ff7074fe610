#include "engine/core/InputManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/Viewport.h"

namespace Engine {

namespace {

// Per camera drawn, not per second: two cameras advance it twice a frame.
constexpr float kTimeStep = 1.01666f;
// "PostProcessing" inputs by location.
constexpr GLint kPostTime = 1;
constexpr GLint kPostFlag1 = 2;
constexpr GLint kPostFlag2 = 3;
constexpr GLint kPostFlag3 = 4;
constexpr GLint kPostInteger = 5;
constexpr GLint kPostFloat1 = 6;
constexpr GLint kPostFloat2 = 7;
constexpr GLint kPostVector = 8;

} // namespace

void Renderer::Render()
{
    ParticleEmitterManager::GetInstance().Update();
    if (!renderingEnabled)
        return;
    Clear();
    const bool blurred = blurPath;
    mCelToggledThisFrame = false;
    for (auto& [entity, camera] : CameraManager::GetInstance().GetCameras()) {
        if (blurred)
            RenderCameraWithBlur(camera);
        else
            RenderCamera(camera);
    }
    if (overlayCallback) {
        overlayCallback();
        Probe("ui");
    }
}

void Renderer::Probe(const char* pass) const
{
    if (passProbe)
        passProbe(pass);
}

bool Renderer::FramebuffersReady() const
{
    for (const auto& framebuffer : mFramebuffers)
        if (!framebuffer)
            return false;
    return true;
}

void Renderer::RenderCamera(Camera& camera)
{
    if (!FramebuffersReady())
        return;
    BeginCamera();
    Probe("scene-clear");
    time += kTimeStep;
    DrawScene(camera);
    BeginFullScreenPasses();
    DrawBloom();
    Probe("bloom");
    Target(FramebufferSlot::Bloom).Unbind();
    ApplyViewport(CameraWindowViewport(camera, 1.0f));
    DrawPostProcessing();
    Probe("post-processing");
    EndFullScreenPasses();
    RenderHUD(camera);
    RenderText(camera);
    Probe("hud-text");
}

void Renderer::RenderCameraWithBlur(Camera& camera)
{
    if (!FramebuffersReady())
        return;
    BeginCamera();
    Probe("scene-clear");
    ToggleCelShadingOnF7();
    time += kTimeStep;
    DrawScene(camera);
    BeginFullScreenPasses();
    DrawBloom();
    Probe("bloom");
    Target(FramebufferSlot::Bloom).Unbind();
    BindPartly(Target(FramebufferSlot::PostProcessing), CameraWindowViewport(camera, 1.0f));
    DrawPostProcessing();
    Probe("post-processing");
    DrawBlurChain(camera);
    Probe("blur");
    EndFullScreenPasses();
    RenderHUD(camera);
    RenderText(camera);
    Probe("hud-text");
}

// State for every pass of the camera, then the scene target bound whole and
// cleared.
void Renderer::BeginCamera()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPointSize(4.0f);
    const Framebuffer& scene = Target(FramebufferSlot::Scene);
    scene.Bind();
    const AttachmentSize size = scene.Size(0);
    glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Renderer::ToggleCelShadingOnF7()
{
    if (mCelToggledThisFrame || !InputManager::GetInstance().IsKeyTriggered(SDL_SCANCODE_F7))
        return;
    celShading = !celShading;
    mCelToggledThisFrame = true;
}

void Renderer::DrawScene(Camera& camera)
{
    const LightManager& lights = LightManager::GetInstance();
    // Both lit programs take the eye and the lights, the chosen one last:
    // components that name the other one would otherwise show it unlit, or
    // lit by where the lights stood when cel shading last changed.
    const char* chosen = celShading ? "Cel" : "Default";
    const char* other = celShading ? "Default" : "Cel";
    for (const char* name : {other, chosen}) {
        if (const ShaderProgram* lit = shaders.Find(name)) {
            lit->Use();
            lit->SetUniform("uViewPos", camera.mPos.value);
            lights.UploadLights(*lit, "uLights");
        }
    }
    RenderOpaque(camera, nullptr);
    Probe("opaque");

    if (const ShaderProgram* instanced = shaders.Find(celShading ? "Cel_Instanced" : "Default_Instanced")) {
        instanced->Use();
        instanced->SetUniform("uViewPos", camera.mPos.value);
        lights.UploadLights(*instanced, "uLights");
        instanced->SetUniform("uSelectPos", camera.selectionPoint);
        instanced->SetUniform("uEmissiveCol", emissiveColour);
        RenderInstanced(camera, instanced);
    }
    Probe("instanced");
    RenderAlpha(camera, nullptr);
    Probe("alpha");

    if (const ShaderProgram* quad = shaders.Find("Quad")) {
        quad->Use();
        quad->SetUniform(1, camera.GetProjectionMatrix() * camera.GetBillboardViewMatrix());
        ParticleEmitterManager::GetInstance().Render(camera);
    }
    Target(FramebufferSlot::Scene).Unbind();
    Probe("particles");
}

// The bloom result into whatever target and viewport are current.
void Renderer::DrawPostProcessing()
{
    const ShaderProgram* program = shaders.Find("PostProcessing");
    if (!program)
        return;
    program->Use();
    program->SetUniform(kPostTime, time);
    program->SetUniform(kPostFlag1, postProcessing.flag1);
    program->SetUniform(kPostFlag2, postProcessing.flag2);
    program->SetUniform(kPostFlag3, postProcessing.flag3);
    program->SetUniform(kPostInteger, postProcessing.integer);
    program->SetUniform(kPostFloat1, postProcessing.float1);
    program->SetUniform(kPostFloat2, postProcessing.float2);
    const glm::vec3& v = postProcessing.vector;
    program->SetUniform(kPostVector, v.x, v.y, v.z);
    Target(FramebufferSlot::Bloom).DrawToScreen(*program, 0);
}

} // namespace Engine
