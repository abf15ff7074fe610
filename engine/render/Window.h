#pragma once
#include <SDL.h>
#include <optional>
#include <utility>
#include <vector>

namespace Engine {

// The one window of the program and its OpenGL context. Opened once at
// start-up and kept until the process ends.
class Window {
public:
    static constexpr int kStartWidth = 1280;
    static constexpr int kStartHeight = 720;

    bool fullscreen = false;
    // The windowed size: the client size the window last had out of
    // fullscreen, or the size last set. Fullscreen leaves it alone, so that
    // what is saved and what the window comes back to is the size chosen,
    // not the display's.
    int width = kStartWidth;
    int height = kStartHeight;
    // Fixed at creation: every projection keeps a 16:9 aspect whatever the
    // window's shape.
    float aspect = 16.0f / 9.0f;
    SDL_Window* sdlWindow = nullptr;
    SDL_GLContext glContext = nullptr;
    bool closing = false;

    // Opens SDL video, the window and an OpenGL 3.3 core context; a failure
    // prints SDL's reason and ends the process with exit code 1.
    static void Create();
    // The window made by Create, or null before it.
    static Window* Main();

    // Rebuilds the renderer's framebuffers when the client size changed since
    // the last check; false once the window is marked closing.
    static bool CheckResize();

    // The sizes a stored size that does not fit the display falls back on:
    // the game hands down its options list. Until it does, the start size.
    static void OfferSizes(std::vector<std::pair<int, int>> sizes);
    static const std::vector<std::pair<int, int>>& OfferedSizes();
    // Display 0's area less the desktop's panels; nothing when SDL cannot
    // tell.
    static std::optional<std::pair<int, int>> UsableArea();

    void SetResolution(std::pair<int, int> size);
    void SetFullscreen(bool on);
    void ToggleFullscreen();
    bool IsFullscreen() const { return fullscreen; }
    // A client size seen (a resize event, the size check): taken as the
    // windowed size unless the window is fullscreen.
    void NoteClientSize(int w, int h);
    bool HasKeyboardFocus() const;
    // SDL's live client size, which may run ahead of width and height until
    // the next CheckResize, and is the display's in fullscreen.
    std::pair<int, int> GetSize() const;

private:
    void ApplyFullscreen();
    void CentreOnDisplay();
};

// The wanted size when it fits the area; else the largest offered size that
// does, or the smallest offered when none does (nothing offered: the wanted
// size).
std::pair<int, int> FittingSize(std::pair<int, int> wanted, std::pair<int, int> area,
                                const std::vector<std::pair<int, int>>& offered);

// Where a window of the given size sits when centred on a display of the
// given size; negative when the window is larger than the display.
std::pair<int, int> CentredPosition(int displayW, int displayH, int windowW, int windowH);

} // namespace Engine
