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

// A virtual pad plugged in until the object goes or Unplug is called; its
// buttons and axes are set as a person would press and push them.
class PluggedPad {
public:
    PluggedPad() : mPad(SDL_JoystickOpen(AttachVirtualPad())) {}
    ~PluggedPad() { Unplug(); }
    PluggedPad(const PluggedPad&) = delete;
    PluggedPad& operator=(const PluggedPad&) = delete;

    bool IsPlugged() const { return mPad != nullptr; }
    void Button(SDL_GameControllerButton button, bool down)
    {
        SDL_JoystickSetVirtualButton(mPad, button, down ? 1 : 0);
        SDL_JoystickUpdate();
    }
    void Axis(SDL_GameControllerAxis axis, Sint16 value)
    {
        SDL_JoystickSetVirtualAxis(mPad, axis, value);
        SDL_JoystickUpdate();
    }
    void Unplug()
    {
        if (!mPad)
            return;
        SDL_JoystickClose(mPad);
        mPad = nullptr;
        SDL_JoystickDetachVirtual(0);
    }

private:
    SDL_Joystick* mPad;
};
