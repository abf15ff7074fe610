#include "game/match/GameMode.h"

// Stand-in until the gameplay mode is built: nothing to play yet, so the
// loop ends (an empty pending mode ends the program).
namespace GameplayMode {
void Init() { GameMode::ChangeRequested = true; }
void Update() {}
void Shutdown() { GameMode::Pending = {}; }
} // namespace GameplayMode
