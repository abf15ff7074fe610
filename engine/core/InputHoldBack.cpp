#include "engine/core/InputManager.h"

#include <algorithm>

namespace Engine {

void InputManager::HoldBackUntilLetGo(std::span<const std::int32_t> keysLeftAlone)
{
    for (std::int32_t scancode = 0; scancode < mKeyCount; ++scancode) {
        if (IsKeyDown(scancode) && std::find(keysLeftAlone.begin(), keysLeftAlone.end(), scancode) == keysLeftAlone.end()) {
            mKeysHeldBack[static_cast<std::size_t>(scancode)] = 1;
            mPreviousKeys[static_cast<std::size_t>(scancode)] = 0;
        }
    }
    mMouseHeldBack |= mCurrentMouseButtons;
    mCurrentMouseButtons = 0;
    mPreviousMouseButtons &= ~mMouseHeldBack;
    for (auto& [controller, buttons] : mCurrentButtons) {
        for (auto& [button, state] : buttons) {
            if (state >= 1)
                state = kHeldBack;
        }
    }
    mMouseMotion = {};
    mMotionHeldBack = true;
}

// At the end of a pump: a key or mouse button up now is no longer held back
// (a controller button's release sets its state to up). Motion made before
// the mouse was captured may come in the pump that captures it, counted as
// the captured mouse's: only a pump captured through moves a view again.
void InputManager::LetGoOfHeldBack(std::uint32_t mouseHeld, bool capturedThrough)
{
    for (std::size_t key = 0; key < mKeysHeldBack.size(); ++key) {
        if (mCurrentKeys[key] == 0 && mKeysPressedInPump[key] == 0)
            mKeysHeldBack[key] = 0;
    }
    mMouseHeldBack &= mouseHeld;
    if (capturedThrough)
        mMotionHeldBack = false;
    if (mMotionHeldBack)
        mMouseMotion = {};
}

} // namespace Engine
