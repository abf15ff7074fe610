#include "game/modes/FocusMuting.h"

#include "engine/audio/MasterVolume.h"
#include "engine/core/InputManager.h"

namespace {

bool WindowFocused() { return Engine::InputManager::GetInstance().HasKeyboardFocus(); }

} // namespace

void FocusMuting::Start()
{
    mFocused = WindowFocused();
    if (mFocused) {
        mSavedMusic = Engine::MasterVolume::music;
        mSavedSfx = Engine::MasterVolume::sfx;
    } else {
        Mute();
    }
}

void FocusMuting::Follow()
{
    const bool focused = WindowFocused();
    // Away from the window, volumes that are back (a match start reads the
    // user configuration again) are the player's new ones: kept, and silenced.
    const bool audible = Engine::MasterVolume::music != 0.0f || Engine::MasterVolume::sfx != 0.0f;
    if (!focused && (mFocused || audible))
        Mute();
    else if (focused && !mFocused)
        Restore();
    mFocused = focused;
}

void FocusMuting::Mute()
{
    mSavedMusic = Engine::MasterVolume::music;
    mSavedSfx = Engine::MasterVolume::sfx;
    Engine::MasterVolume::music = 0.0f;
    Engine::MasterVolume::sfx = 0.0f;
}

void FocusMuting::Restore()
{
    Engine::MasterVolume::music = mSavedMusic;
    Engine::MasterVolume::sfx = mSavedSfx;
}
