#include "engine/core/InputManager.h"

#include <cstdio>

namespace Engine {
namespace {

// Never freed: the manager serves every frame until the process ends.
InputManager* gInputManager = nullptr;

// SDL's mouse mask bits of buttons 0 left, 1 right, 2 middle, 3 X1, 4 X2.
constexpr std::array<std::uint32_t, InputManager::kMouseButtonCount> kMouseMasks{
    SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK, SDL_BUTTON_X1MASK, SDL_BUTTON_X2MASK};

bool MaskHas(std::uint32_t mask, std::uint32_t button)
{
    return button < kMouseMasks.size() && (mask & kMouseMasks[button]) != 0;
}

} // namespace

InputManager& InputManager::GetInstance()
{
    if (!gInputManager)
        gInputManager = new InputManager();
    return *gInputManager;
}

void InputManager::StartOver()
{
    mQuitRequested = false;
    mPreviousMouseButtons = mCurrentMouseButtons = 0;
    mPreviousMousePosition = mCurrentMousePosition = mMouseMotion = {};
    mPreviousKeys.assign(mCurrentKeys, mCurrentKeys + mKeyCount);
    mKeysPressedInPump.assign(static_cast<std::size_t>(mKeyCount), 0);
    mKeysHeldBack.assign(static_cast<std::size_t>(mKeyCount), 0);
    mMouseHeldBack = mMouseButtonsHeld = 0;
    mMotionHeldBack = false;
    mMousePressedInPump = 0;
    mPadPressedInPump.clear();
    mPadReleasesForNextPump.clear();
}

void InputManager::Init()
{
    int count = 0;
    mCurrentKeys = SDL_GetKeyboardState(&count);
    mKeyCount = mCurrentKeys ? count : 0;
    // Input starts with no quit asked for, and the mouse as if it had not
    // moved yet.
    StartOver();

    // One reference for the whole run: SDL counts a subsystem's references
    // in a byte, and the 256th start of input would turn the controllers
    // off.
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::printf("Could not initialize SDL Controller Input: %s\n", SDL_GetError());
        return;
    }
    SDL_GameControllerEventState(SDL_ENABLE);
}

void InputManager::EndFrame()
{
    for (std::int32_t scancode = 0; scancode < mKeyCount; ++scancode)
        mPreviousKeys[static_cast<std::size_t>(scancode)] = IsKeyDown(scancode) ? 1 : 0;
    mPreviousMouseButtons = mCurrentMouseButtons;
    mPreviousMousePosition = mCurrentMousePosition;
    mPreviousButtons = mCurrentButtons;
}

bool InputManager::IsKeyDown(std::int32_t scancode) const
{
    if (scancode < 0 || scancode >= mKeyCount)
        return false;
    const auto key = static_cast<std::size_t>(scancode);
    return (mCurrentKeys[scancode] != 0 || mKeysPressedInPump[key] != 0) && mKeysHeldBack[key] == 0;
}

bool InputManager::IsKeyTriggered(std::int32_t scancode) const
{
    return IsKeyDown(scancode) && mPreviousKeys[static_cast<std::size_t>(scancode)] == 0;
}

bool InputManager::IsKeyReleased(std::int32_t scancode) const
{
    return scancode >= 0 && scancode < mKeyCount && !IsKeyDown(scancode) &&
           mPreviousKeys[static_cast<std::size_t>(scancode)] != 0;
}

bool InputManager::IsMouseDown(std::uint32_t button) const { return MaskHas(mCurrentMouseButtons, button); }

bool InputManager::IsMouseTriggered(std::uint32_t button) const
{
    return !MaskHas(mPreviousMouseButtons, button) && MaskHas(mCurrentMouseButtons, button);
}

bool InputManager::IsMouseReleased(std::uint32_t button) const
{
    return MaskHas(mPreviousMouseButtons, button) && !MaskHas(mCurrentMouseButtons, button);
}

glm::vec2 InputManager::FromWindowCentre(const std::array<int, 2>& position) const
{
    int w = 0;
    int h = 0;
    if (mHost.window)
        SDL_GetWindowSize(mHost.window, &w, &h);
    return {static_cast<float>(position[0] - w / 2), static_cast<float>(h / 2 - position[1])};
}

glm::vec2 InputManager::GetMousePosition() const { return FromWindowCentre(mPreviousMousePosition); }

glm::vec2 InputManager::UpdateMousePosition() const { return FromWindowCentre(mCurrentMousePosition); }

glm::vec2 InputManager::GetMouseDelta() const
{
    return {static_cast<float>(mMouseMotion[0]), static_cast<float>(-mMouseMotion[1])};
}

bool InputManager::HasKeyboardFocus() const
{
    if (mHost.keyboardFocus)
        return mHost.keyboardFocus();
    return mHost.window && SDL_GetKeyboardFocus() == mHost.window;
}

} // namespace Engine
