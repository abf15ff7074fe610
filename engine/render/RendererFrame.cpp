#include "engine/core/InputManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/Viewport.h"
#include "engine/render/Window.h"

namespace Engine {

namespace {

// Per camera drawn, not per second: two cameras advance it twice a frame.
constexpr float kTimeStep = 1.01666f;
// The "Bloom" program's switch for its halo.
constexpr GLint kBloomFlagLocation = 4;
// "PostProcessing" inputs by location.
constexpr GLint kPostTime = 1;
constexpr GLint kPostFlag1 = 2;
constexpr GLint kPostFlag2 = 3;
constexpr GLint kPostFlag3 = 4;
constexpr GLint kPostInteger = 5;
constexpr GLint kPostFloat1 = 6;
constexpr GLint kPostFloat2 = 7;
constexpr GLint kPostVector = 8;

// The window's current size; the viewports follow it even before the
// framebuffers are rebuilt for it.
std::pair<float, float> WindowSize()
{
    const Window* window = Window::Main();
    auto [w, h] = window ? window->GetSize() : std::pair<int, int>{0, 0};
    return {static_cast<float>(w), static_cast<float>(h)};
}

ViewportRect WindowViewport(const Camera& camera, float scale)
{
    auto [w, h] = WindowSize();
    return CameraViewport(camera, w * scale, h * scale);
}

void BindWholeTarget(const Framebuffer& target)
{
    target.Bind();
    const AttachmentSize size = target.Size(0);
    glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

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
    DrawBloom();
    Probe("bloom");
    Target(FramebufferSlot::Bloom).Unbind();
    ApplyViewport(WindowViewport(camera, 1.0f));
    DrawPostProcessing();
    Probe("post-processing");
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
    DrawBloom();
    Probe("bloom");
    Target(FramebufferSlot::Bloom).Unbind();
    Target(FramebufferSlot::PostProcessing).Bind();
    ApplyViewport(WindowViewport(camera, 1.0f));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawPostProcessing();
    Probe("post-processing");
    DrawBlurChain(camera);
    Probe("blur");
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
    BindWholeTarget(Target(FramebufferSlot::Scene));
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

// The scene's three attachments combined into the bloom target.
void Renderer::DrawBloom()
{
    const Framebuffer& scene = Target(FramebufferSlot::Scene);
    BindWholeTarget(Target(FramebufferSlot::Bloom));
    const ShaderProgram* program = shaders.Find("Bloom");
    if (!program)
        return;
    program->Use();
    glActiveTexture(GL_TEXTURE0);
    scene.BindTexture(0);
    program->SetUniform(0, 0);
    program->SetUniform(kBloomFlagLocation, bloom);
    scene.DrawToScreen(*program, 1);
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

// Post-processing result -> blur 1 (full size) -> blur 2..5 (half size) ->
// the camera's viewport of the window. Modes: 1 blurs in place, 2
// resamples across the change of size.
void Renderer::DrawBlurChain(const Camera& camera)
{
    struct Pass {
        FramebufferSlot source;
        FramebufferSlot target; // Count: the window
        float scale;
        int mode;
    };
    constexpr FramebufferSlot kWindow = FramebufferSlot::Count;
    constexpr Pass kPasses[] = {
        {FramebufferSlot::PostProcessing, FramebufferSlot::Blur1, 1.0f, 1},
        {FramebufferSlot::Blur1, FramebufferSlot::Blur2, 0.5f, 2},
        {FramebufferSlot::Blur2, FramebufferSlot::Blur3, 0.5f, 1},
        {FramebufferSlot::Blur3, FramebufferSlot::Blur4, 0.5f, 1},
        {FramebufferSlot::Blur4, FramebufferSlot::Blur5, 0.5f, 1},
        {FramebufferSlot::Blur5, kWindow, 1.0f, 2},
    };
    const ShaderProgram* program = shaders.Find("Blur");
    for (const Pass& pass : kPasses) {
        const Framebuffer& source = Target(pass.source);
        source.Unbind();
        ApplyViewport(WindowViewport(camera, pass.scale));
        if (pass.target != kWindow) {
            Target(pass.target).Bind();
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
        if (!program)
            continue;
        program->Use();
        program->SetUniform("blurMode", pass.mode);
        source.DrawToScreen(*program, 0);
    }
}

} // namespace Engine
