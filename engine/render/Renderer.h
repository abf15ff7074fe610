#pragma once
#include "engine/render/Camera.h"
#include "engine/render/Font.h"
#include "engine/render/Framebuffer.h"
#include "engine/render/HaloCoverage.h"
#include "engine/render/HaloStrokes.h"
#include "engine/render/LitBuilds.h"
#include "engine/render/Material.h"
#include "engine/render/Model.h"
#include "engine/render/Noise.h"
#include "engine/render/Registry.h"
#include "engine/render/ShaderProgram.h"
#include "engine/render/Texture.h"
#include "engine/render/Viewport.h"

#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace Engine {

// The renderer's framebuffer set, in build order.
enum class FramebufferSlot : std::size_t {
    Scene,
    Bloom,
    PostProcessing,
    Blur1,
    Blur2,
    Blur3,
    Blur4,
    Blur5,
    Count,
};

// Inputs of the post-processing pass (uniform locations 2 to 8).
struct PostProcessingInputs {
    bool flag1 = false;
    bool flag2 = false;
    int integer = 0;
    bool flag3 = false;
    float float1 = 0.0f;
    float float2 = 0.0f;
    glm::vec3 vector{0.0f};

    // Whether any of the three effects is on: with none, the last pass
    // draws with the build that leaves them out.
    bool EffectsOn() const { return flag1 || flag2 || flag3; }
};

// The one graphics object: start-up switches of the frame, the framebuffers
// and the registries of every named resource. Resources are loaded during
// start-up and kept until the process ends.
class Renderer {
public:

    static Renderer& GetInstance();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // GLEW (fatal on failure) and FreeType (only reported on failure); then
    // whether GL rasterises on the processor (see softwareRasteriser).
    void Init();
    // "Quad" model, the logo, "Quad" and "Debug" programs; then one splash
    // frame with the logo fully visible.
    void LoadSplashResources();
    // The framebuffers and every other registered resource.
    void LoadResources();

    void Clear();
    bool GetVSync() const { return mVSync; }
    void SetVSync(bool on);
    // Shows what was drawn since the last swap. A frame that drew nothing
    // (rendering disabled, and no kill camera drawing in its place) leaves
    // the last picture on screen: its swap would show nothing new, yet copy
    // the whole window and wait for the display each frame.
    void SwapBuffers();
    // Swaps made so far.
    std::uint64_t GetSwapCount() const { return mSwaps; }

    // Replaces the whole framebuffer set with one at the current target
    // size, in the formats that softwareRasteriser calls for.
    void CreateFramebuffers();
    Framebuffer* GetFramebuffer(FramebufferSlot slot) const;
    // Size of the full-size targets: the display mode in fullscreen, else the
    // window's client size; never below 2 x 2 nor above the largest texture
    // and renderbuffer side GL reports. Needs the GL context.
    std::pair<int, int> FramebufferTargetSize() const;

    // One frame: every camera of the camera manager in ascending entity
    // order, then the overlay callback. While rendering is disabled nothing
    // is drawn. The caller swaps the buffers.
    void Render();
    // One camera: the scene into the scene target, bloom, post-processing
    // into the camera's viewport of the window, then HUD and text.
    void RenderCamera(Camera& camera);
    // The same with the post-processing result blurred in six passes (four
    // at half size) on its way to the window. F7 flips cel shading here.
    void RenderCameraWithBlur(Camera& camera);

    // The scene passes. With a program every component draws with it; with
    // null every registered program gets the camera's view-projection and
    // every component draws with its own.
    void RenderOpaque(const Camera& camera, const ShaderProgram* program);
    void RenderInstanced(const Camera& camera, const ShaderProgram* program);
    // Sorts the transparent components for the camera first, and calls the
    // programs' per-draw hook with it.
    void RenderAlpha(const Camera& camera, const ShaderProgram* program);
    // Screen-space passes over the camera's canvas, without depth testing.
    void RenderHUD(const Camera& camera);
    void RenderText(const Camera& camera);

    // Tile highlight of the lit programs: the aimed-at ring's colour and
    // radius, and the border colour. Kept by the programs between frames.
    void SetSelectionColours(const glm::vec3& selection, float maxColourDistance, const glm::vec3& border);

    // The floor programs' builds (see LitBuilds): the one for lights of the
    // given kinds, and the one for materials whose normal map is of one
    // colour with the same lights as `program`; the program itself where
    // it has no such build; and that one's build for a grey map pair (see
    // Material::GreyPair). The frame sets the camera, lights and tile
    // highlight on every build it draws with.
    const ShaderProgram& LitBuild(const ShaderProgram& registered, LightKinds lights) const;
    const ShaderProgram& OneColourNormalBuild(const ShaderProgram& program) const;
    const ShaderProgram& GreyPairBuild(const ShaderProgram& oneColourNormalBuild) const;

    // One whole frame each, swapped; used before the main loop.
    void DrawSplash(float overlayOpacity);
    void DrawLoadingBar(float progress);

    void (*overlayCallback)() = nullptr;
    // When set, called after each pass of a frame with the pass's name
    // ("scene-clear", "opaque", "instanced", "alpha", "particles", "bloom",
    // "post-processing", "blur", "hud-text", "ui"); the frame benchmark
    // waits for the GPU there to time the passes.
    void (*passProbe)(const char* pass) = nullptr;
    bool blurPath = false;
    bool bloom = true;
    // The free camera, made by LoadResources and kept until exit.
    EditorCamera* editorCamera = nullptr;
    bool celShading = true;
    bool renderingEnabled = true;
    // Set by Init when GL's renderer is one of Mesa's software rasterisers.
    // Only then does a frame read its glow back to leave the halo out where
    // none reaches: on a graphics card that read would stall the pipeline
    // every frame, and drawing the combine whole costs little. It also
    // decides the formats of the framebuffer set when that is built. Tests
    // set it, and build the set again, to take either path.
    bool softwareRasteriser = false;
    glm::vec3 emissiveColour{0.0f};
    PostProcessingInputs postProcessing;
    float time = 0.0f;

    FT_Library FreeType() const { return mFreeType; }
    // How many times the frame has read pixels back from GL since start-up.
    std::uint64_t ReadBacks() const { return mReadBacks; }

    Registry<ShaderProgram> shaders;
    Registry<Model> models;
    Registry<ModelAnim> animatedModels;
    Registry<Texture> textures;
    Registry<Material> materials;
    Registry<Noise> noises;
    Registry<Font> fonts;

private:
    Renderer() = default;

    void LoadModels();
    void LoadTextures();
    void LoadShaderPrograms();
    void LoadLitBuilds();
    void LoadMaterials();
    void LoadFonts();
    Texture* AddTexture(const std::string& name, const std::string& path);
    template <typename Program = ShaderProgram>
    ShaderProgram* AddProgram(const std::string& name, const std::string& vertex, const std::string& fragment,
                              const std::string& defines = {});
    // Returns the window's size, which the viewport now covers.
    std::pair<int, int> BeginScreenFrame();
    void EndScreenFrame();

    bool FramebuffersReady() const;
    void ClearWindow();
    Framebuffer& Target(FramebufferSlot slot) const { return *GetFramebuffer(slot); }
    // The part of the scene-size targets that one camera's picture takes:
    // its viewport in the window, at least one texel and moved or cut to
    // lie within the targets.
    ViewportRect PictureFor(const ViewportRect& view) const;
    void ScheduleSceneTargetClear();
    // Whether `picture` may hold something drawn since the scene target
    // was last cleared.
    bool SceneUncleared(const ViewportRect& picture) const;
    void BeginCamera(const ViewportRect& picture);
    void DrawScene(Camera& camera);
    void BeginFullScreenPasses();
    void EndFullScreenPasses();
    std::optional<glm::vec2> SpreadGlow(const ViewportRect& picture, HaloCoverage& coverage);
    std::vector<bool> ReadLitTexels(const Framebuffer& source, const ViewportRect& part);
    void DrawStroke(const ShaderProgram& stroke, const Framebuffer& source, const Framebuffer& target);
    void UploadSpread(const Framebuffer& target, const ViewportRect& quarter, const glm::vec2& squeeze);
    // On a software rasteriser a frame whose last pass has no effects on
    // gets that pass's work done by the bloom's combine, which then draws
    // where the last pass would: a whole-picture pass fewer.
    bool BloomFinishes() const;
    // The combine of the camera's picture into `target` (null: the window)
    // at `drawn`, the picture's place there; finished unless the target is
    // the bloom target.
    void DrawBloom(const ViewportRect& picture, const Framebuffer* target, const ViewportRect& drawn);
    void DrawPostProcessing(const ViewportRect& picture);
    void DrawBlurChain(const Camera& camera, const ViewportRect& view);
    // The same blur worked out at a quarter of the size, for a software
    // rasteriser; false when its programs are missing.
    bool DrawQuarterBlurChain(const Camera& camera, const ViewportRect& view);
    void ToggleCelShadingOnF7();
    void Probe(const char* pass) const;

    bool mVSync = true;
    FT_Library mFreeType = nullptr;
    std::array<std::unique_ptr<Framebuffer>, static_cast<std::size_t>(FramebufferSlot::Count)> mFramebuffers;
    std::unique_ptr<EditorCamera> mEditorCamera;
    // "PostProcessing" built without its three effects, for the frames that
    // have them off, and "Blur" built to read nine taps, for the halo's
    // strokes. Not in the registry: only the frame draws with them.
    static constexpr int kShortBlurTaps = 9;
    std::unique_ptr<ShaderProgram> mPlainPostProcessing;
    std::unique_ptr<ShaderProgram> mShortBlur;
    // "Bloom" built without the spread, for the parts it leaves dark; the
    // glow's mean read back to find them.
    std::unique_ptr<ShaderProgram> mHaloFreeBloom;
    // Both built to finish the frame too (see BloomFinishes).
    std::unique_ptr<ShaderProgram> mFinishingBloom;
    std::unique_ptr<ShaderProgram> mFinishingHaloFreeBloom;
    // "Blur" built to shrink a picture to a quarter of its size, and
    // "Bloom" built to draw its spread alone, between texels.
    std::unique_ptr<ShaderProgram> mQuarterShrink;
    std::unique_ptr<ShaderProgram> mSpreadOnly;
    std::vector<std::uint16_t> mHaloTexels;
    HaloStrokes mHaloStrokes;
    std::uint64_t mReadBacks = 0;
    LitBuilds mLitBuilds;
    // What of the scene target is clean. Outside a frame nothing is known,
    // and each camera clears its own part. In a frame the whole target is,
    // once the frame's clear is done (it waits for the first camera, see
    // ScheduleSceneTargetClear), but for the parts cameras drew since.
    struct SceneTargetClean {
        enum class Whole { Unknown, ClearDue, Cleared };
        Whole whole = Whole::Unknown;
        std::vector<ViewportRect> partsDrawn;
    };
    SceneTargetClean mSceneClean;
    // F7 flips cel shading once per frame however many cameras see it.
    bool mCelToggledThisFrame = false;
    // Set by whatever draws into the window, cleared by the swap.
    bool mDrawnSinceSwap = false;
    std::uint64_t mSwaps = 0;
};

} // namespace Engine
