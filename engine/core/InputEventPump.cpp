#include "engine/core/InputEventHandlerList.h"
#include "engine/core/InputManager.h"

#include <algorithm>
#include <optional>

namespace Engine {
namespace {

// The window id of the event types that carry one; the union's other members
// hold unrelated data at that offset.
std::optional<std::uint32_t> WindowIdOf(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_TEXTEDITING:
        return event.edit.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
    case SDL_DROPBEGIN:
    case SDL_DROPCOMPLETE:
        return event.drop.windowID;
    default:
        if (event.type >= SDL_USEREVENT && event.type < SDL_LASTEVENT)
            return event.user.windowID;
        return std::nullopt;
    }
}

// Stick travel in [-1, 1], zero inside the dead zone. -32768 would reach
// past -1, so it counts as -32767.
float StickValue(int value)
{
    if (value == -32768)
        value = -32767;
    if (value > -InputManager::kDeadZone && value < InputManager::kDeadZone)
        return 0.0f;
    return static_cast<float>(value) / 32767.0f;
}

} // namespace

void InputManager::Update()
{
    ForgetLastPump();
    const bool wasCaptured = mCaptured;
    ApplyCursorMode();

    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        mLastEvent = event;
        HandleEvent(event);
        if (IsMainWindowEvent(event))
            SdlEventHandlerList::Walk(event);
    }

    // SDL's mouse state moves as the queue is pumped: read before it, a
    // press would be seen a frame late.
    int x = 0;
    int y = 0;
    const std::uint32_t held = mHost.mouseState ? mHost.mouseState(&x, &y) : SDL_GetMouseState(&x, &y);
    mMouseButtonsHeld = held;
    LetGoOfHeldBack(held, wasCaptured && mCaptured);
    mCurrentMouseButtons = (held | mMousePressedInPump) & ~mMouseHeldBack;
    mCurrentMousePosition = {x, y};
}

// The presses and the motion of the last pump have had their frame:
// buttons let go in it are let go now, and the mouse has not moved yet.
void InputManager::ForgetLastPump()
{
    mMouseMotion = {};
    std::fill(mKeysPressedInPump.begin(), mKeysPressedInPump.end(), std::uint8_t{0});
    mMousePressedInPump = 0;
    for (const PadButton& pad : mPadReleasesForNextPump) {
        if (SDL_GameController* controller = FindController(pad.id))
            mCurrentButtons[controller][pad.button] = 0;
    }
    mPadReleasesForNextPump.clear();
    mPadPressedInPump.clear();
}

void InputManager::ApplyCursorMode()
{
    mCaptured = !cursorVisible && !menuPointerShown;
    SDL_SetRelativeMouseMode(mCaptured ? SDL_TRUE : SDL_FALSE);
    SDL_ShowCursor(cursorVisible ? SDL_ENABLE : SDL_DISABLE);
}

bool InputManager::IsMainWindowEvent(const SDL_Event& event) const
{
    if (!mHost.window)
        return false;
    const std::optional<std::uint32_t> id = WindowIdOf(event);
    return id && *id == SDL_GetWindowID(mHost.window);
}

void InputManager::HandleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        mQuitRequested = true;
        break;
    case SDL_WINDOWEVENT:
        if (IsMainWindowEvent(event))
            HandleWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
        HandleKey(event.key);
        break;
    case SDL_KEYUP:
        // Let go, and maybe pressed anew later in the same pump.
        if (event.key.keysym.scancode >= 0 && event.key.keysym.scancode < mKeyCount)
            mKeysHeldBack[static_cast<std::size_t>(event.key.keysym.scancode)] = 0;
        break;
    case SDL_MOUSEMOTION:
        mMouseMotion[0] += event.motion.xrel;
        mMouseMotion[1] += event.motion.yrel;
        break;
    case SDL_MOUSEBUTTONDOWN:
        // SDL numbers buttons from 1; its mask bit for button b is b - 1.
        if (event.button.button >= 1 && event.button.button <= 32)
            mMousePressedInPump |= SDL_BUTTON(event.button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button >= 1 && event.button.button <= 32)
            mMouseHeldBack &= ~SDL_BUTTON(event.button.button);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        HandleButton(event.cbutton, true);
        break;
    case SDL_CONTROLLERBUTTONUP:
        HandleButton(event.cbutton, false);
        break;
    case SDL_CONTROLLERAXISMOTION:
        HandleAxis(event.caxis);
        break;
    case SDL_CONTROLLERDEVICEADDED:
        OpenNewControllers();
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        ForgetController(event.cdevice.which);
        break;
    default:
        break;
    }
}

void InputManager::HandleWindowEvent(const SDL_WindowEvent& event)
{
    if (event.event == SDL_WINDOWEVENT_CLOSE)
        mQuitRequested = true;
    else if ((event.event == SDL_WINDOWEVENT_RESIZED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED) && mHost.resized)
        mHost.resized(event.data1, event.data2);
}

// A key held down repeats its down event; only the first one is a press.
void InputManager::HandleKey(const SDL_KeyboardEvent& event)
{
    const int scancode = event.keysym.scancode;
    if (event.repeat == 0 && scancode >= 0 && scancode < mKeyCount)
        mKeysPressedInPump[static_cast<std::size_t>(scancode)] = 1;
}

void InputManager::HandleButton(const SDL_ControllerButtonEvent& event, bool down)
{
    // SDL numbers the share, paddle and touchpad buttons from 15 on, where the
    // triggers sit: pressing share must not read as pulling the left trigger.
    if (event.button < kLeftTriggerButton)
        SetPadButton(event.which, event.button, down);
}

void InputManager::SetPadButton(std::int32_t id, std::uint8_t button, bool down)
{
    SDL_GameController* controller = FindController(id);
    if (!controller)
        return;
    std::int32_t& state = mCurrentButtons[controller][button];
    const PadButton pad{id, button};
    const auto pressedNow = std::find(mPadPressedInPump.begin(), mPadPressedInPump.end(), pad);
    const auto releaseLater = std::find(mPadReleasesForNextPump.begin(), mPadReleasesForNextPump.end(), pad);
    if (down) {
        if (state == 0) {
            state = 1;
            mPadPressedInPump.push_back(pad);
        }
        if (releaseLater != mPadReleasesForNextPump.end())
            mPadReleasesForNextPump.erase(releaseLater);
    } else if (pressedNow == mPadPressedInPump.end()) {
        state = 0;
    } else if (releaseLater == mPadReleasesForNextPump.end()) {
        mPadReleasesForNextPump.push_back(pad);
    }
}

void InputManager::HandleAxis(const SDL_ControllerAxisEvent& event)
{
    SDL_GameController* controller = FindController(event.which);
    if (!controller)
        return;
    Sticks& sticks = mSticks[controller];
    const float value = StickValue(event.value);
    switch (event.axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        sticks[0].x = value;
        break;
    case SDL_CONTROLLER_AXIS_LEFTY:
        sticks[0].y = -value;
        break;
    case SDL_CONTROLLER_AXIS_RIGHTX:
        sticks[1].x = value;
        break;
    case SDL_CONTROLLER_AXIS_RIGHTY:
        sticks[1].y = -value;
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        SetPadButton(event.which, kLeftTriggerButton, value != 0.0f);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        SetPadButton(event.which, kRightTriggerButton, value != 0.0f);
        break;
    default:
        break;
    }
}

} // namespace Engine
