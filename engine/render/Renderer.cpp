#include "engine/render/Renderer.h"

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
    if (result != GLEW_OK) {
        std::fprintf(stderr, "GLEW Error: Failed to init: %s\n", glewGetErrorString(result));
        std::fflush(stderr);
        std::abort();
    }
    // glewInit asks for the extension string the old way, which a core
    // context rejects with GL_INVALID_ENUM; drop it so later checks start
    // clean.
    while (glGetError() != GL_NO_ERROR) {
    }
    if (FT_Init_FreeType(&mFreeType) != 0) {
        mFreeType = nullptr;
        std::printf("ERROR : Could not initialize FreeType Library\n");
    }
}

void Renderer::Clear()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Renderer::SetVSync(bool on)
{
    mVSync = on;
    SDL_GL_SetSwapInterval(on ? 1 : 0);
}

void Renderer::SwapBuffers()
{
    if (Window* window = Window::Main())
        SDL_GL_SwapWindow(window->sdlWindow);
}

} // namespace Engine
