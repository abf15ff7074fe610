#include "engine/render/Window.h"

#include "engine/render/Renderer.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Engine {

namespace {

// The process's one window; never freed, every subsystem reaches it here.
Window* gMainWindow = nullptr;
int gLastWidth = Window::kStartWidth;
int gLastHeight = Window::kStartHeight;

[[noreturn]] void FailStartup(const char* prefix)
{
    std::printf("%s%s\n", prefix, SDL_GetError());
    std::fflush(stdout);
    SDL_Quit();
    std::exit(1);
}

} // namespace

std::pair<int, int> CentredPosition(int displayW, int displayH, int windowW, int windowH)
{
    // Halved in single precision and truncated toward zero, so an oversized
    // window overhangs both edges equally.
    int x = static_cast<int>(static_cast<float>(displayW - windowW) * 0.5f);
    int y = static_cast<int>(static_cast<float>(displayH - windowH) * 0.5f);
    return {x, y};
}

void Window::Create()
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::printf("Could not initialize SDL: %s\n", SDL_GetError());
        std::fflush(stdout);
        std::exit(1);
    }
    auto window = std::make_unique<Window>();

    // Mesa hands out a 3.0 compatibility context unless 3.3 core is asked
    // for before the window exists; the shaders need 3.3 core.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    window->sdlWindow = SDL_CreateWindow("Solvane 2", 100, 100, window->width, window->height, SDL_WINDOW_OPENGL);
    if (!window->sdlWindow)
        FailStartup("SDL_CreateWindow Error: ");

    window->glContext = SDL_GL_CreateContext(window->sdlWindow);
    if (!window->glContext) {
        SDL_DestroyWindow(window->sdlWindow);
        FailStartup("SDL_GL_CreateContext Error: ");
    }
    window->CentreOnDisplay();
    SDL_SetWindowResizable(window->sdlWindow, SDL_TRUE);

    // No SDL renderer is made for this window: on X11 it would take over the
    // GL context that everything else draws with.
    gMainWindow = window.release();
    gLastWidth = kStartWidth;
    gLastHeight = kStartHeight;
}

Window* Window::Main()
{
    return gMainWindow;
}

bool Window::CheckResize()
{
    Window* window = gMainWindow;
    if (!window)
        return false;
    auto [w, h] = window->GetSize();
    if (w != gLastWidth || h != gLastHeight) {
        window->width = w;
        window->height = h;
        Renderer::GetInstance().CreateFramebuffers();
        gLastWidth = w;
        gLastHeight = h;
    }
    return !window->closing;
}

void Window::CentreOnDisplay()
{
    SDL_DisplayMode mode{};
    if (SDL_GetCurrentDisplayMode(0, &mode) != 0)
        return;
    auto [x, y] = CentredPosition(mode.w, mode.h, width, height);
    SDL_SetWindowPosition(sdlWindow, x, y);
}

void Window::SetResolution(std::pair<int, int> size)
{
    width = size.first;
    height = size.second;
    CentreOnDisplay();
    SDL_SetWindowSize(sdlWindow, width, height);
}

void Window::SetFullscreen(bool on)
{
    fullscreen = on;
    ApplyFullscreen();
}

void Window::ToggleFullscreen()
{
    fullscreen = !fullscreen;
    ApplyFullscreen();
}

void Window::ApplyFullscreen()
{
    SDL_SetWindowFullscreen(sdlWindow, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    SDL_SetWindowDisplayMode(sdlWindow, nullptr);
    Renderer::GetInstance().CreateFramebuffers();
}

bool Window::HasKeyboardFocus() const
{
    return SDL_GetKeyboardFocus() == sdlWindow;
}

std::pair<int, int> Window::GetSize() const
{
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(sdlWindow, &w, &h);
    return {w, h};
}

} // namespace Engine
