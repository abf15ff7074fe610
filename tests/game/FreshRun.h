#pragma once
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/FreshCollisionTable.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/core/Random.h"
#include "engine/frame/Core.h"
#include "engine/net/NetworkMgr.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/config/UserConfig.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/menus/MenuEvents.h"
#include "game/modes/GameMode.h"
#include "support/CapturedOutput.h"
#include "support/EmptyScene.h"

#include <SDL.h>
#include <algorithm>

// What the menus, the debug keys and the matches set for the next match,
// the mode loop's flags and the menu events' callbacks, as a new run has
// them: the tests after it in the same process build their menu pages, the
// join screen and their matches from it. The recorder is live, empty and of
// a new run's length: a test that shortened it for its replay must not
// shorten the next test's.
inline void NewRunsGameState()
{
    GameScene::ResetPlayerChoice();
    GameState::ResetToNew();
    GameModifiers::ResetToNew();
    MatchRecorder::GetInstance().ResetToNew();
    MenuEvents::ClearAll();
    GameMode::ResetFlow();
    UserConfig::ForgetTheRun();
}

// Input as before the engine starts: no host (the engine's start installs
// its own), no quit asked for, no mouse motion or button remembered. SDL
// keeps its key array and its event queue for the whole process: keys an
// earlier test held, and mouse motion, keys or a quit it queued, would reach
// the next one's first frame.
inline void NoInputLeft()
{
    int count = 0;
    Uint8* keys = const_cast<Uint8*>(SDL_GetKeyboardState(&count));
    std::fill(keys, keys + count, Uint8{0});
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_FlushEvent(SDL_QUIT);
        SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
    }
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    input.SetHost({});
    input.StartOver();
}

// No link, the settings of a new manager and the system's sockets: a test
// that linked to a peer of its own on some port, or made sockets fail, must
// not send the next one's link there.
inline void NoLink()
{
    Engine::Platform::SetUdpSocketFactory({});
    StdoutOf([] { NetworkMgr::GetInstance().ResetToNew(); });
}

// The game as a new process finds it, before every test of a game binary:
// a binary run whole runs its tests in one process, and a test's course
// must not depend on which ran before it. The match follows the entities'
// order (they update by ascending index, and an earlier test's frees leave
// the free list in another order), the generator's draws, the frame time
// and the settings of the next match; each goes back to a new run's.
inline void FreshRun()
{
    EmptyScene();
    FreshCollisionTable();
    // The arena's tile handles would be current again with every generation
    // back at 0: the next arena's clearing would destroy its own new tiles.
    HexGrid::Reset();
    Engine::FrameRateController::Reset();
    Engine::Random::SetSource(nullptr);
    Engine::Random::SeedWith(1);
    // A match built by an earlier test installed the players' hold and the
    // physics' rule for the peer's player.
    Engine::Core::GetInstance().SetBeforeDrawing(nullptr);
    Engine::CollisionMgr::GetInstance().SetPairPush(nullptr);
    NewRunsGameState();
    NoInputLeft();
    NoLink();
}
