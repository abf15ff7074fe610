#include "game/match/GameMode.h"

// Stand-in until the title menus exist: the program goes straight into a
// local two-player match, and back into a new one when a match ends.
namespace TitleMode {
void Init()
{
    GameScene::PlayerCount = 2;
    GameMode::Request(GameMode::Gameplay);
}
void Update() {}
void Shutdown() {}
} // namespace TitleMode
