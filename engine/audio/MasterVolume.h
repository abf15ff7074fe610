#pragma once

// The two master volumes that every emitter gain and menu sound is scaled
// by. The options menu steps them and the user configuration keeps them;
// losing window focus sets both to 0 for a while.
namespace Engine::MasterVolume {

inline float music = 0.5f;
inline float sfx = 0.5f;

inline float For(bool isSfx) { return isSfx ? sfx : music; }

} // namespace Engine::MasterVolume
