#include "game/match/BallHookAnswers.h"

#include "engine/logic/LogicManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/ball/TempBallComp.h"

namespace {

BadgeManagerComp* MedalsOf(Engine::EntityHandle holder)
{
    return holder.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<BadgeManagerComp>(holder);
}

void PushMedal(Engine::EntityHandle holder, int medal)
{
    if (BadgeManagerComp* medals = MedalsOf(holder); medals && medal >= 0)
        medals->PushMedal(static_cast<std::uint32_t>(medal));
}

void ShowFinalMedal(Engine::EntityHandle holder, int medal)
{
    BadgeManagerComp* medals = MedalsOf(holder);
    if (!medals || medal < 0)
        return;
    medals->SetLargeDisplay();
    medals->ClearQueue();
    medals->PushMedal(static_cast<std::uint32_t>(medal));
}

PlayerHooks::BallShot ShotOf(Engine::EntityHandle ball)
{
    const TempBallComp* component = ball.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<TempBallComp>(ball);
    if (!component)
        return {};
    return {component->mJumpShot != 0, component->mDirect != 0};
}

void SpawnQuietly() { SpawnGoalBall(false); }

// A replay shows a goal ball while its frames hold one: the one out follows
// them. A new one each frame would meet the one it replaces, still there
// until the frame's end, and be pushed a ball's width off the recorded path,
// with a light and its shadow buffer made and freed in every frame.
void ShowGoalBallInReplay()
{
    if (!GoalBall::Alive())
        SpawnGoalBall(false);
}

} // namespace

void FillPlayerAndReplayHooksFromBalls()
{
    PlayerHooks& hooks = PlayerHooks::Get();
    hooks.pushMedal = &PushMedal;
    hooks.showFinalMedal = &ShowFinalMedal;
    hooks.ballShot = &ShotOf;
    hooks.goalBallAlive = &GoalBall::Alive;
    hooks.spawnGoalBallQuietly = &SpawnQuietly;
    hooks.restartGoalBall = &RestartGoalBall;

    MatchRecorder& recorder = MatchRecorder::GetInstance();
    MatchRecorder::ReplayHooks replay = recorder.GetReplayHooks();
    replay.spawnGoalBall = &ShowGoalBallInReplay;
    recorder.SetReplayHooks(replay);
}
