#include "engine/render/Renderer.h"

#include "engine/render/SoftwareRasteriser.h"
#include "engine/render/Window.h"

#include <cstdio>
#include <cstdlib>

namespace Engine {

Renderer& Renderer::GetInstance()
{
    static Renderer renderer;
    return renderer;
}

Renderer::~Renderer()
{
    // Faces must close before their library does; the registries would
    // otherwise go after it in member order.
    fonts = Registry<Font>();
    if (mFreeType)
        FT_Done_FreeType(mFreeType);
}

void Renderer::Init()
{
    glewExperimental = GL_TRUE;
    GLenum result = glewInit();
    // glewInit loads the GL entry points first and only then looks for a GLX
    // display to probe GLX extensions, which nothing here uses. It finds none
    // when the context came from EGL (a Wayland session, or SDL's choice), so
    // that answer still leaves a working GL.
    if (result != GLEW_OK && !(result == GLEW_ERROR_NO_GLX_DISPLAY && SDL_GL_GetCurrentContext())) {
        std::fprintf(stderr, "GLEW Error: Failed to init: %s\n", glewGetErrorString(result));
        std::fflush(stderr);
        std::abort();
    }
    // glewInit asks for the extension string the old way, which a core
    // context rejects with GL_INVALID_ENUM; drop it so later checks start
    // clean.
    while (glGetError() != GL_NO_ERROR) {
    }
    softwareRasteriser = NamesSoftwareRasteriser(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    if (FT_Init_FreeType(&mFreeType) != 0) {
        mFreeType = nullptr;
        std::printf("ERROR : Could not initialize FreeType Library\n");
    }
}

void Renderer::Clear()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mDrawnSinceSwap = true;
}

void Renderer::SetVSync(bool on)
{
    mVSync = on;
    SDL_GL_SetSwapInterval(on ? 1 : 0);
}

void Renderer::SwapBuffers()
{
    if (!mDrawnSinceSwap)
        return;
    mDrawnSinceSwap = false;
    ++mSwaps;
    if (Window* window = Window::Main())
        SDL_GL_SwapWindow(window->sdlWindow);
}

} // namespace Engine
