#pragma once
#include "engine/render/Renderer.h"
#include "engine/render/ShadowCubeMap.h"
#include "engine/render/Window.h"

#include <GL/glew.h>
#include <array>
#include <string>
#include <vector>

// Opens the window and GL context once per test process and starts the
// renderer's libraries. CTest runs each test in a process of its own; a
// binary run whole runs them in one, so a later call puts the window's size
// and the renderer's frame settings back to where the first one left them.
inline void OpenTestWindow()
{
    Engine::Window* window = Engine::Window::Main();
    if (!window) {
        Engine::Window::Create();
        Engine::Renderer::GetInstance().Init();
        return;
    }
    window->closing = false;
    window->SetFullscreen(false);
    window->SetResolution({Engine::Window::kStartWidth, Engine::Window::kStartHeight});
    Engine::Window::CheckResize();
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.overlayCallback = nullptr;
    renderer.passProbe = nullptr;
    renderer.blurPath = false;
    renderer.bloom = true;
    renderer.celShading = true;
    renderer.renderingEnabled = true;
    renderer.emissiveColour = glm::vec3(0.0f);
    renderer.postProcessing = {};
    renderer.time = 0.0f;
}

// Takes the frame down the path of a software rasteriser or of a graphics
// card, with the framebuffer set that path builds, and puts the renderer
// back as it found it when the guard goes, however the test leaves (a
// failed ASSERT_ returns at once).
class RasteriserPath {
public:
    RasteriserPath() = default;
    explicit RasteriserPath(bool software) { Take(software); }
    ~RasteriserPath() { Take(mStarted); }
    RasteriserPath(const RasteriserPath&) = delete;
    RasteriserPath& operator=(const RasteriserPath&) = delete;

    static void Take(bool software)
    {
        Engine::Renderer& renderer = Engine::Renderer::GetInstance();
        if (renderer.softwareRasteriser == software)
            return;
        renderer.softwareRasteriser = software;
        if (renderer.GetFramebuffer(Engine::FramebufferSlot::Scene))
            renderer.CreateFramebuffers();
    }

private:
    const bool mStarted = Engine::Renderer::GetInstance().softwareRasteriser;
};

// The test window with the renderer's splash and match resources loaded,
// without their log and the GL errors that loading leaves.
void OpenTestWindowWithResources();

// The colour of one pixel of the default framebuffer's back buffer, counted
// from the lower left corner.
inline std::array<int, 3> PixelAt(int x, int y)
{
    unsigned char rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

// A pixel's brightness: the sum of its channels.
inline int Brightness(const std::array<int, 3>& rgb) { return rgb[0] + rgb[1] + rgb[2]; }

// Reads the whole window's back buffer (after a swap Mesa's software driver
// still holds the frame just shown there) and writes it as a PNG under
// screenshots/, top row first.
bool SaveScreenshot(const std::string& name);

// A list of the GL errors raised since the last call, for readable failures.
std::vector<GLenum> DrainGlErrors();
