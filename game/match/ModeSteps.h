#pragma once

// Steps the game modes share.

// A new scene's sound: the menu sounds released, the sound system shut down
// and started again (so every sound of the old scene is freed), and the menu
// sounds made anew.
void ResetSceneSound();

// F11: fullscreen on or off, and the configuration saved.
void ToggleFullscreenAndSave();

// A scene just built or linked starts: the recorder emptied (and sized to
// the arena), every logic component initialised, the static colliders
// updated, the scene active.
void StartBuiltScene();

// The local arena, from a scene in creation: built, its static colliders
// placed, the game state reset, every logic component initialised, and the
// scene active.
void BuildLocalScene();
