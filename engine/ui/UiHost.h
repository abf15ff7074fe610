#pragma once
#include <cstdint>
#include <glm/glm.hpp>

namespace Engine::UI {

// Everything the menus read of the world outside them: the window's size,
// the frame time, and the keyboard, mouse and controllers as this frame's
// and the previous frame's state. The engine's own host reads the window,
// the frame-rate controller and the input manager; tests install their own
// so that layouts, focus moves and clicks run without a display.
class UiHost {
public:
    virtual ~UiHost() = default;

    // The window's client size in pixels.
    virtual glm::vec2 WindowSize() const;
    // Seconds since the previous frame, up to the engine's frame cap: below
    // the cap's rate the menus slow with the game.
    virtual float FrameTime() const;
    // Seconds since the previous frame, however long: for what counts the
    // time a key is held.
    virtual float UncappedFrameTime() const;

    // Pixels from the window centre, y up, this frame and the previous one.
    virtual glm::vec2 MouseNow() const;
    virtual glm::vec2 MouseBefore() const;

    // SDL scancodes.
    virtual bool KeyDown(int scancode) const;
    virtual bool KeyTriggered(int scancode) const;
    virtual bool KeyReleased(int scancode) const;

    // Mouse buttons 0 left, 1 right, 2 middle, 3 and 4 the extras.
    virtual bool MouseTriggered(int button) const;
    virtual bool MouseReleased(int button) const;

    // Every connected game controller, numbered 0 to PadCount() - 1; buttons
    // are SDL game-controller buttons, sticks run -1 to 1 with y up.
    virtual int PadCount() const;
    virtual bool PadButtonDown(int pad, std::uint8_t button) const;
    virtual bool PadButtonTriggered(int pad, std::uint8_t button) const;
    virtual bool PadButtonReleased(int pad, std::uint8_t button) const;
    virtual glm::vec2 PadLeftStick(int pad) const;
};

// The host in use: the engine's unless a test installed another.
UiHost& Host();
// Installs a host; nullptr puts the engine's back. The caller keeps it.
void SetHost(UiHost* host);

} // namespace Engine::UI
