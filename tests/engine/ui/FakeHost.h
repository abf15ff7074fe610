#pragma once
#include "engine/ui/LayerStack.h"
#include "engine/ui/UiHost.h"

#include <algorithm>
#include <set>
#include <vector>

// A window, a keyboard, a mouse and pads that the test sets by hand. It is
// installed while it lives. NextFrame turns this frame's state into the
// previous one, as the input manager's end of frame does.
class FakeHost : public Engine::UI::UiHost {
public:
    struct Pad {
        std::set<std::uint8_t> down;
        std::set<std::uint8_t> before;
        glm::vec2 stick{0.0f};
    };

    FakeHost() { Engine::UI::SetHost(this); }
    ~FakeHost() override { Engine::UI::SetHost(nullptr); }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    void NextFrame()
    {
        keysBefore = keys;
        buttonsBefore = buttons;
        mouseBefore = mouse;
        for (Pad& pad : pads)
            pad.before = pad.down;
    }

    // One menu frame: the mouse read, the stack's update, the end of frame.
    void Frame(Engine::UI::LayerStack& stack)
    {
        stack.ReadMouse();
        stack.Update();
        NextFrame();
    }

    // Puts the mouse over a point in UI coordinates.
    void MouseAt(const glm::vec2& ui) { mouse = ui * window * 0.5f; }

    glm::vec2 WindowSize() const override { return window; }
    // Capped as the engine caps it.
    float FrameTime() const override { return std::min(dt, 0.032f); }
    float UncappedFrameTime() const override { return dt; }
    glm::vec2 MouseNow() const override { return mouse; }
    glm::vec2 MouseBefore() const override { return mouseBefore; }
    bool KeyDown(int code) const override { return keys.contains(code); }
    bool KeyTriggered(int code) const override { return keys.contains(code) && !keysBefore.contains(code); }
    bool KeyReleased(int code) const override { return !keys.contains(code) && keysBefore.contains(code); }
    bool MouseTriggered(int b) const override { return buttons.contains(b) && !buttonsBefore.contains(b); }
    bool MouseReleased(int b) const override { return !buttons.contains(b) && buttonsBefore.contains(b); }
    int PadCount() const override { return static_cast<int>(pads.size()); }
    bool PadButtonDown(int pad, std::uint8_t b) const override { return pads[pad].down.contains(b); }
    bool PadButtonTriggered(int pad, std::uint8_t b) const override
    {
        return pads[pad].down.contains(b) && !pads[pad].before.contains(b);
    }
    bool PadButtonReleased(int pad, std::uint8_t b) const override
    {
        return !pads[pad].down.contains(b) && pads[pad].before.contains(b);
    }
    glm::vec2 PadLeftStick(int pad) const override { return pads[pad].stick; }

    glm::vec2 window{1600.0f, 900.0f};
    float dt = 0.01f;
    std::set<int> keys;
    std::set<int> keysBefore;
    std::set<int> buttons;
    std::set<int> buttonsBefore;
    glm::vec2 mouse{0.0f};
    glm::vec2 mouseBefore{0.0f};
    std::vector<Pad> pads;
};
