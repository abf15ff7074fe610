#include "game/match/GameMode.h"

// Stand-in until this mode is built.
namespace LobbyMode {
void Init() { GameMode::Request(GameMode::Title); }
void Update() {}
void Shutdown() {}
} // namespace LobbyMode
