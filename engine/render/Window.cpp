#include "engine/render/Window.h"

#include "engine/render/Renderer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>

namespace Engine {

namespace {

// The process's one window; never freed, every subsystem reaches it here.
Window* gMainWindow = nullptr;
int gLastWidth = Window::kStartWidth;
int gLastHeight = Window::kStartHeight;
std::vector<std::pair<int, int>> gOfferedSizes{{Window::kStartWidth, Window::kStartHeight}};

bool Fits(std::pair<int, int> size, std::pair<int, int> area)
{
    return size.first <= area.first && size.second <= area.second;
}

std::int64_t Pixels(std::pair<int, int> size) { return std::int64_t{size.first} * size.second; }

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

std::pair<int, int> FittingSize(std::pair<int, int> wanted, std::pair<int, int> area,
                                const std::vector<std::pair<int, int>>& offered)
{
    if (Fits(wanted, area) || offered.empty())
        return wanted;
    const auto byPixels = [](auto a, auto b) { return Pixels(a) < Pixels(b); };
    std::vector<std::pair<int, int>> fitting;
    std::copy_if(offered.begin(), offered.end(), std::back_inserter(fitting),
                 [area](auto size) { return Fits(size, area); });
    if (fitting.empty())
        return *std::min_element(offered.begin(), offered.end(), byPixels);
    return *std::max_element(fitting.begin(), fitting.end(), byPixels);
}

void Window::OfferSizes(std::vector<std::pair<int, int>> sizes) { gOfferedSizes = std::move(sizes); }

const std::vector<std::pair<int, int>>& Window::OfferedSizes() { return gOfferedSizes; }

std::optional<std::pair<int, int>> Window::UsableArea()
{
    SDL_Rect area{};
    if (SDL_GetDisplayUsableBounds(0, &area) != 0)
        return std::nullopt;
    return std::pair<int, int>(area.w, area.h);
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
        window->NoteClientSize(w, h);
        Renderer::GetInstance().CreateFramebuffers();
        gLastWidth = w;
        gLastHeight = h;
    }
    return !window->closing;
}

void Window::NoteClientSize(int w, int h)
{
    if (fullscreen)
        return;
    width = w;
    height = h;
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
