#pragma once

// Steps the game modes share.

// A new scene's sound: the menu sounds released, the sound system shut down
// and started again (so every sound of the old scene is freed), and the menu
// sounds made anew.
void ResetSceneSound();

// F11: fullscreen on or off, and the configuration saved.
void ToggleFullscreenAndSave();
