#pragma once

// The game goes quiet while another window has the keyboard: losing focus
// saves both master volumes and sets them to 0, regaining it puts the saved
// ones back. Volumes set while away (the configuration read again) are saved
// and silenced in their turn. Volumes changed while focused (the options
// menu) are kept, since they are saved only at the moment focus goes. Focus
// is the input manager's, so that tests can give and take it.
class FocusMuting {
public:
    // Remembers the focus and the current volumes; mutes at once when the
    // window starts without focus.
    void Start();
    // Once per frame, before the mode's update: acts on a change of focus
    // since the last call, and silences volumes set while away.
    void Follow();

private:
    void Mute();
    void Restore();

    bool mFocused = true;
    float mSavedMusic = 0.0f;
    float mSavedSfx = 0.0f;
};
