#pragma once
#include "engine/render/Renderer.h"
#include "engine/render/ShadowCubeMap.h"
#include "engine/render/Window.h"

#include <GL/glew.h>
#include <array>
#include <string>
#include <vector>

// Opens the window and GL context once per test process (every test runs in
// a process of its own) and starts the renderer's libraries.
inline void OpenTestWindow()
{
    if (Engine::Window::Main())
        return;
    Engine::Window::Create();
    Engine::Renderer::GetInstance().Init();
}

// The colour of one pixel of the default framebuffer's back buffer, counted
// from the lower left corner.
inline std::array<int, 3> PixelAt(int x, int y)
{
    unsigned char rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

// Reads the whole window's back buffer (after a swap Mesa's software driver
// still holds the frame just shown there) and writes it as a PNG under
// screenshots/, top row first.
bool SaveScreenshot(const std::string& name);

// A list of the GL errors raised since the last call, for readable failures.
std::vector<GLenum> DrainGlErrors();
