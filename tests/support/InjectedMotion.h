#pragma once
#include <SDL.h>

// The X server is shared with other tests' windows: the pointer they move
// or warp over ours reaches us as motion, which would turn views and aims
// that a test checks to the pixel. Tests that move the mouse push motion
// marked as theirs, and while the filter is on only that gets through.
//
// SDL drops every pending event when a filter is set (a pad's removal left
// by the test before among them): the filter goes in once and a flag turns
// it on and off.
namespace InjectedMotion {

inline constexpr Uint32 kMouse = 0x7e57;

inline bool& OnlyInjected()
{
    static bool only = false;
    return only;
}

inline int Filter(void*, SDL_Event* event)
{
    return !OnlyInjected() || event->type != SDL_MOUSEMOTION || event->motion.which == kMouse;
}

inline void KeepOnlyInjected(bool only)
{
    SDL_EventFilter filter = nullptr;
    void* data = nullptr;
    if (only && !(SDL_GetEventFilter(&filter, &data) && filter == &Filter))
        SDL_SetEventFilter(&Filter, nullptr);
    OnlyInjected() = only;
}

// Relative motion, taken by the next event pump.
inline void Push(int dx, int dy)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.which = kMouse;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    SDL_PushEvent(&event);
}

} // namespace InjectedMotion
