#pragma once
#include <SDL.h>

// Plugs in one of SDL's virtual game controllers, which raise the same added,
// removed, button and axis events as a real pad. Returns its device index.
inline int AttachVirtualPad()
{
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    return SDL_JoystickAttachVirtualEx(&desc);
}
