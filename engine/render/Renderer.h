#pragma once
#include "engine/render/Font.h"
#include "engine/render/Framebuffer.h"
#include "engine/render/Material.h"
#include "engine/render/Model.h"
#include "engine/render/Noise.h"
#include "engine/render/Registry.h"
#include "engine/render/ShaderProgram.h"
#include "engine/render/Texture.h"

#include <array>
#include <glm/glm.hpp>
#include <memory>
#include <utility>

namespace Engine {

class EditorCamera;

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

    // GLEW (fatal on failure) and FreeType (only reported on failure).
    void Init();
    // "Quad" model, the logo, "Quad" and "Debug" programs; then one splash
    // frame with the logo fully visible.
    void LoadSplashResources();
    // The framebuffers and every other registered resource.
    void LoadResources();

    void Clear();
    bool GetVSync() const { return mVSync; }
    void SetVSync(bool on);
    void SwapBuffers();

    // Replaces the whole framebuffer set with one at the current target size.
    void CreateFramebuffers();
    Framebuffer* GetFramebuffer(FramebufferSlot slot) const;
    // Size of the full-size targets: the display mode in fullscreen, else the
    // window's client size; never below 2 x 2.
    std::pair<int, int> FramebufferTargetSize() const;

    // One whole frame each, swapped; used before the main loop.
    void DrawSplash(float overlayOpacity);
    void DrawLoadingBar(float progress);

    void (*overlayCallback)() = nullptr;
    bool blurPath = false;
    bool bloom = true;
    // The free camera belongs to the camera work; it stays null until then.
    EditorCamera* editorCamera = nullptr;
    bool celShading = true;
    bool renderingEnabled = true;
    glm::vec3 emissiveColour{0.0f};
    PostProcessingInputs postProcessing;
    float time = 0.0f;

    FT_Library FreeType() const { return mFreeType; }

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
    void LoadMaterials();
    void LoadFonts();
    Texture* AddTexture(const std::string& name, const std::string& path);
    template <typename Program = ShaderProgram>
    ShaderProgram* AddProgram(const std::string& name, const std::string& vertex, const std::string& fragment);
    void BeginScreenFrame();
    void EndScreenFrame();

    bool mVSync = true;
    FT_Library mFreeType = nullptr;
    std::array<std::unique_ptr<Framebuffer>, static_cast<std::size_t>(FramebufferSlot::Count)> mFramebuffers;
};

} // namespace Engine
