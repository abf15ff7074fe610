#include "game/match/GameMode.h"

// Stand-in until this mode is built.
namespace TutorialMode {
void Init() { GameMode::Request(GameMode::Title); }
void Update() {}
void Shutdown() {}
} // namespace TutorialMode
