#pragma once

// The mode a match is played in, and its replay at the end. Gameplay
// components never leave the match themselves: they raise the flow flags,
// which Update reads once per frame.
namespace GameplayMode {

// The mode's entry points.
void Init();
void Update();
void Shutdown();

} // namespace GameplayMode
