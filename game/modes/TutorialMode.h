#pragma once

// A tutorial: the arena of a match with one or two players, driven frame by
// frame by a recording while the tutorial's explanation stays on screen. The
// menus' layers stay below it; it has no pause menu, and the game state's
// events do not run (the recording shows them). When the recording has
// played, or the overlay's back button made the recorder live again, the
// title comes back.
namespace TutorialMode {

// The mode's entry points.
void Init();
void Update();
void Shutdown();

} // namespace TutorialMode
