#include "game/match/MatchHookAnswers.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/frame/Core.h"
#include "game/arena/GameModeFlags.h"
#include "game/arena/HookCheck.h"
#include "game/arena/MatchRecorder.h"
#include "game/match/BallHookAnswers.h"
#include "game/components/objects/PerkObjectHookAnswers.h"
#include "game/components/player/PlayerHold.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/tile/TileHooks.h"
#include "game/match/GameState.h"

namespace {

// The peer flipped its arena: announce the flip here, and the game state
// turns this arena after the same delay.
void StartArenaFlip()
{
    GameState& state = GameState::GetInstance();
    state.flipPending = 1;
    state.announcing = 1;
    GameState::ResetPalettes();
}

bool ArenaFlipped() { return GameState::GetInstance().arenaFlipped != 0; }

void RequestEndOfPlay() { GameMode::EndRequested = 1; }

void ReplayFinished() { GameMode::ReturnRequested = 1; }

} // namespace

void FillHooksForMatch()
{
    // What start-up installed with the component types, again: a match is
    // whole whatever ran before it.
    FillPlayerAndReplayHooksFromBalls();
    FillPlayerAndReplayHooksFromPerkObjects();

    PlayerHooks& hooks = PlayerHooks::Get();
    hooks.startArenaFlip = &StartArenaFlip;
    hooks.requestEndOfPlay = &RequestEndOfPlay;
    TileHooks::SetArenaFlippedLookup(&ArenaFlipped);
    Engine::Core::GetInstance().SetBeforeDrawing(&PlayerHold::HoldLocalPlayers);
    Engine::CollisionMgr::GetInstance().SetPairPush(&PlayerHold::PushesInPhysics);

    MatchRecorder& recorder = MatchRecorder::GetInstance();
    MatchRecorder::ReplayHooks replay = recorder.GetReplayHooks();
    replay.playbackFinished = &ReplayFinished;
    recorder.SetReplayHooks(replay);
    // A hook this match lacks is said again, even if an earlier one lacked it.
    ForgetReportedHooks();
}
