#include "engine/core/InputManager.h"

#include <algorithm>

namespace Engine {

// Only what is really down waits to be let go. A tap the pump took (down
// and up again) is over: it reads up from here, and a press in the next pump
// is a new press.
void InputManager::HoldBackUntilLetGo(std::span<const std::int32_t> keysLeftAlone,
                                      std::span<const std::uint8_t> padButtonsLeftAlone)
{
    for (std::int32_t scancode = 0; scancode < mKeyCount; ++scancode) {
        const auto key = static_cast<std::size_t>(scancode);
        if (!IsKeyDown(scancode) || std::find(keysLeftAlone.begin(), keysLeftAlone.end(), scancode) != keysLeftAlone.end())
            continue;
        mKeysHeldBack[key] = mCurrentKeys[key] != 0 ? 1 : 0;
        mKeysPressedInPump[key] = 0;
        mPreviousKeys[key] = 0;
    }
    const std::uint32_t downAtClose = mCurrentMouseButtons;
    mMouseHeldBack |= downAtClose & mMouseButtonsHeld;
    mCurrentMouseButtons = 0;
    mPreviousMouseButtons &= ~(mMouseHeldBack | downAtClose);
    for (auto& [controller, buttons] : mCurrentButtons) {
        for (auto& [button, state] : buttons) {
            const bool leftAlone = std::find(padButtonsLeftAlone.begin(), padButtonsLeftAlone.end(), button) !=
                                   padButtonsLeftAlone.end();
            if (state >= 1 && !leftAlone)
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
