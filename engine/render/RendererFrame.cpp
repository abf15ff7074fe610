#include "engine/core/InputManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/ShaderClock.h"
#include "engine/render/Viewport.h"
#include "engine/render/Window.h"

#include <algorithm>

namespace Engine {

namespace {

// Per camera drawn, not per second: two cameras advance it twice a frame.
constexpr float kTimeStep = 1.01666f;
// Nothing reads the normals the scene's programs write beside colour and
// glow: the scene's passes and its clear draw into colour and glow alone,
// and the normals keep whatever they held. Leaving the attachment out of
// the draw buffers, not masking it: a software rasteriser still reads and
// writes a masked target for every fragment.
void DrawIntoColourAndGlowOnly()
{
    const GLenum buffers[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1, GL_NONE};
    glDrawBuffers(3, buffers);
}
// All three again, as whatever binds the scene target next expects them.
void DrawIntoEveryAttachment()
{
    const GLenum buffers[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2};
    glDrawBuffers(3, buffers);
}
// Where a picture drawn at `part` pixels samples the scene, against the
// same picture drawn at `full` pixels and squeezed into `part` with the
// nearest texel, as the frame once did: when full is an even multiple of
// part, each squeezed pixel fell on a texel edge and took the texel after
// it, half a full texel past the small pixel's centre. Moving the small
// picture's viewport back by that much gives the very same samples. Zero
// for other ratios, where no shift matches every pixel.
float SqueezeNudge(int full, int part)
{
    if (part <= 0 || full <= part || full % part != 0)
        return 0.0f;
    const int ratio = full / part;
    return ratio % 2 == 0 ? -0.5f / static_cast<float>(ratio) : 0.0f;
}

} // namespace

void Renderer::Render()
{
    ParticleEmitterManager::GetInstance().Update();
    if (!renderingEnabled)
        return;
    mDrawnSinceSwap = true;
    ClearWindow();
    ScheduleSceneTargetClear();
    const bool blurred = blurPath;
    mCelToggledThisFrame = false;
    for (auto& [entity, camera] : CameraManager::GetInstance().GetCameras()) {
        if (blurred)
            RenderCameraWithBlur(camera);
        else
            RenderCamera(camera);
    }
    // A camera drawn outside a frame (the replay's) clears its own part.
    mSceneClean = {};
    if (overlayCallback) {
        overlayCallback();
        Probe("ui");
    }
}

// The frame clears the whole scene target at once, and each camera then
// draws its own part: a software rasteriser fills a whole target fast, but
// clears a part of it by drawing a rectangle, which for two half-window
// cameras costs more than twice as much. The clear waits for the first
// camera, which has the target bound anyway: cleared there, it goes with
// that camera's own drawing instead of costing a switch of targets and a
// flush of its own.
void Renderer::ScheduleSceneTargetClear()
{
    using Whole = SceneTargetClean::Whole;
    mSceneClean = {FramebuffersReady() ? Whole::ClearDue : Whole::Unknown, {}};
}

// Cameras that together cover the whole window paint every pixel of it
// (a split screen's halves as much as one camera over all of it): then
// nothing needs clearing. Nothing drawn into the window tests its depth
// (the full-screen passes, the HUD, the text and the menus all draw
// without), and a software rasteriser pays for a clear of it as for a pass
// over the whole window.
void Renderer::ClearWindow()
{
    const Window* window = Window::Main();
    const auto [width, height] = window ? window->GetSize() : std::pair<int, int>{0, 0};
    std::vector<ViewportRect> views;
    for (const auto& [entity, camera] : CameraManager::GetInstance().GetCameras())
        views.push_back(CameraWindowViewport(camera, 1.0f));
    const bool covered = FramebuffersReady() && !views.empty() && CoverWindow(views, width, height);
    if (!covered)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
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

// The scene, the bloom and the post-processing work on a picture of the
// size the camera shows: a camera on half the window draws half the
// pixels. The picture is the one the whole target would hold, squeezed
// into the viewport as before, only without the pixels the squeeze drops.
// It lies where the camera lies in the window, so the cameras of a split
// screen each find their part of the target cleared.
void Renderer::RenderCamera(Camera& camera)
{
    if (!FramebuffersReady())
        return;
    mDrawnSinceSwap = true;
    const ViewportRect view = CameraWindowViewport(camera, 1.0f);
    const ViewportRect picture = PictureFor(view);
    BeginCamera(picture);
    Probe("scene-clear");
    time = AdvanceShaderClock(time, kTimeStep);
    DrawScene(camera);
    BeginFullScreenPasses();
    if (BloomFinishes()) {
        DrawBloom(picture, nullptr, view);
        Probe("bloom");
    } else {
        DrawBloom(picture, &Target(FramebufferSlot::Bloom), picture);
        Probe("bloom");
        Target(FramebufferSlot::Bloom).Unbind();
        ApplyViewport(view);
        DrawPostProcessing(picture);
    }
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
    mDrawnSinceSwap = true;
    const ViewportRect view = CameraWindowViewport(camera, 1.0f);
    const ViewportRect picture = PictureFor(view);
    BeginCamera(picture);
    Probe("scene-clear");
    ToggleCelShadingOnF7();
    time = AdvanceShaderClock(time, kTimeStep);
    DrawScene(camera);
    BeginFullScreenPasses();
    if (BloomFinishes()) {
        DrawBloom(picture, &Target(FramebufferSlot::PostProcessing), view);
        Probe("bloom");
    } else {
        DrawBloom(picture, &Target(FramebufferSlot::Bloom), picture);
        Probe("bloom");
        Target(FramebufferSlot::Bloom).Unbind();
        Target(FramebufferSlot::PostProcessing).Bind();
        ApplyViewport(view);
        DrawPostProcessing(picture);
    }
    Probe("post-processing");
    DrawBlurChain(camera, view);
    Probe("blur");
    EndFullScreenPasses();
    RenderHUD(camera);
    RenderText(camera);
    Probe("hud-text");
}

ViewportRect Renderer::PictureFor(const ViewportRect& view) const
{
    const AttachmentSize size = Target(FramebufferSlot::Scene).Size(0);
    const int targetWidth = std::max(static_cast<int>(size.width), 1);
    const int targetHeight = std::max(static_cast<int>(size.height), 1);
    const int width = std::clamp(view.width, 1, targetWidth);
    const int height = std::clamp(view.height, 1, targetHeight);
    return {std::clamp(view.x, 0, targetWidth - width), std::clamp(view.y, 0, targetHeight - height), width, height};
}

bool Renderer::SceneUncleared(const ViewportRect& picture) const
{
    if (mSceneClean.whole != SceneTargetClean::Whole::Cleared)
        return true;
    const auto overlaps = [&picture](const ViewportRect& other) {
        return picture.x < other.x + other.width && other.x < picture.x + picture.width &&
               picture.y < other.y + other.height && other.y < picture.y + picture.height;
    };
    const std::vector<ViewportRect>& drawn = mSceneClean.partsDrawn;
    return std::any_of(drawn.begin(), drawn.end(), overlaps);
}

// State for every pass of the camera, then the camera's part of the scene
// target bound, and cleared unless the frame's clear left it so.
void Renderer::BeginCamera(const ViewportRect& picture)
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPointSize(4.0f);
    Target(FramebufferSlot::Scene).Bind();
    const AttachmentSize size = Target(FramebufferSlot::Scene).Size(0);
    const glm::vec2 nudge{SqueezeNudge(static_cast<int>(size.width), picture.width),
                          SqueezeNudge(static_cast<int>(size.height), picture.height)};
    // Fractional viewports need GL 4.1 or its extension; without them the
    // picture is the same half a texel off.
    if (nudge != glm::vec2(0.0f) && (GLEW_VERSION_4_1 || GLEW_ARB_viewport_array))
        glViewportIndexedf(0, static_cast<float>(picture.x) + nudge.x, static_cast<float>(picture.y) + nudge.y,
                           static_cast<float>(picture.width), static_cast<float>(picture.height));
    else
        ApplyViewport(picture);
    DrawIntoColourAndGlowOnly(); // until DrawScene ends
    if (mSceneClean.whole == SceneTargetClean::Whole::ClearDue) {
        mSceneClean.whole = SceneTargetClean::Whole::Cleared;
        mSceneClean.partsDrawn.push_back(picture);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        return;
    }
    const bool uncleared = SceneUncleared(picture);
    mSceneClean.partsDrawn.push_back(picture);
    if (!uncleared)
        return;
    // Nothing tests the stencil, yet clearing the depth alone would keep
    // it: a slower, masked write of the depth-stencil buffer.
    glEnable(GL_SCISSOR_TEST);
    glScissor(picture.x, picture.y, picture.width, picture.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
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

    if (const ShaderProgram* registered = shaders.Find(celShading ? "Cel_Instanced" : "Default_Instanced")) {
        const ShaderProgram* instanced = &LitBuild(*registered, lights.Kinds());
        const ShaderProgram& oneColour = OneColourNormalBuild(*instanced);
        for (const ShaderProgram* build : {&GreyPairBuild(oneColour), &oneColour, instanced}) {
            build->Use();
            build->SetUniform("uViewPos", camera.mPos.value);
            lights.UploadLights(*build, "uLights");
            build->SetUniform("uSelectPos", camera.selectionPoint);
            build->SetUniform("uEmissiveCol", emissiveColour);
        }
        // The floor's programs write opaque colour: blending would read two
        // half-float targets back for every fragment only to keep nothing
        // of them.
        glDisable(GL_BLEND);
        RenderInstanced(camera, instanced);
        glEnable(GL_BLEND);
    }
    Probe("instanced");
    RenderAlpha(camera, nullptr);
    Probe("alpha");

    if (const ShaderProgram* quad = shaders.Find("Quad")) {
        quad->Use();
        quad->SetUniform(1, camera.GetProjectionMatrix() * camera.GetBillboardViewMatrix());
        ParticleEmitterManager::GetInstance().Render(camera);
    }
    DrawIntoEveryAttachment();
    Target(FramebufferSlot::Scene).Unbind();
    Probe("particles");
}

} // namespace Engine
