// Both sides of a hit, the score HUD and the end of the match.
#include "engine/audio/Emitter.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NamedEntities.h"
#include "engine/render/ParticleEmitterManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/MatchStats.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/shared/Medal.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/player/PlayerLogicComp.h"

#include <string>

namespace {

constexpr float kActiveShotWindow = 3.0f;
constexpr float kPlayerHitVolume = 0.4f;
// The end medals show a quarter of the way through the slow motion.
constexpr float kEndMedalsAt = 0.25f;
constexpr double kSlowMotionPerFrame = 0.98;

void PushMedalThroughHooks(Engine::EntityHandle holder, Medal medal)
{
    if (IsHookSet(PlayerHooks::Get().pushMedal, "PlayerHooks::pushMedal"))
        PlayerHooks::Get().pushMedal(holder, medal);
}

void ShowFinalMedalThroughHooks(Engine::EntityHandle holder, Medal medal)
{
    if (IsHookSet(PlayerHooks::Get().showFinalMedal, "PlayerHooks::showFinalMedal"))
        PlayerHooks::Get().showFinalMedal(holder, medal);
}

// The peer's player colour; on one machine (or with a peer not drawn), the
// player colour that is not the shooter's own: blue for a red shooter, red
// for any other (an undrawn shooter too).
glm::vec3 BurstColour(Engine::EntityHandle shooter)
{
    const glm::vec3 blue = PlayerFrame::PlayerColour(1);
    const glm::vec3 red = PlayerFrame::PlayerColour(2);
    const glm::vec3 other = PlayerFrame::RenderColourOf(shooter, blue) == red ? blue : red;
    const Engine::EntityHandle peer = Net::Names::First(Net::Names::kRemotePlayer);
    return peer.IsNull() ? other : PlayerFrame::RenderColourOf(peer, other);
}

std::string ScoreTexture(int playerNumber, int score)
{
    return "Score_J" + std::to_string(playerNumber) + "_" + std::to_string(score);
}

} // namespace

bool Player_LogicComp::ExchangeHit(Player_LogicComp& shooter, Player_LogicComp& victim)
{
    if (!HitCounts(shooter, victim))
        return false;
    shooter.ScoreHit();
    victim.TakeHit();
    return true;
}

void Player_LogicComp::ScoreHit()
{
    mScore += mPointsPerHit;
    if (!mRemote) {
        MatchStats::GetInstance().MatchResultPlayer1.value += 1;
        // The hit that reaches the limit leaves the stage to the end medals.
        if (!HasWon()) {
            const auto ballShot = PlayerHooks::Get().ballShot;
            const PlayerHooks::BallShot shot =
                IsHookSet(ballShot, "PlayerHooks::ballShot") ? ballShot(mBall) : PlayerHooks::BallShot{};
            PushMedalThroughHooks(owner, MedalNormal);
            if (mRevenge)
                PushMedalThroughHooks(owner, MedalRevenge);
            if (shot.jumpShot)
                PushMedalThroughHooks(owner, MedalJumpShot);
            if (!shot.direct)
                PushMedalThroughHooks(owner, MedalBounce);
            if (mTimeSinceActive < kActiveShotWindow)
                PushMedalThroughHooks(owner, MedalActiveShot);
            if (mExhausted)
                PushMedalThroughHooks(owner, MedalExhausted);
        }
    }
    mRevenge = false;
    MatchRecorder::GetInstance().AddMomentPoints(mPlayerNumber, MatchRecorder::HitOpponent);
    HitBurst();
}

// One burst of sparks from the ball that hit, in the victim's colour.
void Player_LogicComp::HitBurst()
{
    Engine::ParticleEmitterManager& emitters = Engine::ParticleEmitterManager::GetInstance();
    if (mBall.IsNull() || !emitters.HasComponent(mBall))
        return;
    Engine::ParticleEmitter& sparks = *emitters.GetCompPtr(mBall);
    sparks.SetMaxParticles(200);
    sparks.shape = Engine::kParticlePoint;
    sparks.pointA = Engine::Transform::GetWorldPosition(mBall);
    const glm::vec3 colour = BurstColour(owner);
    for (Engine::ParticleEmitterRange* range : {&sparks.minimum, &sparks.maximum}) {
        range->endVelocity = glm::vec3(0.0f);
        range->startColour = glm::vec4(colour * 0.5f, 0.5f);
        range->endColour = glm::vec4(1.0f, 1.0f, 1.0f, 0.0f);
        range->startSpinRate = 0.0f;
        range->endSpinRate = 0.0f;
    }
    sparks.minimum.lifetime = 0.2f;
    sparks.maximum.lifetime = 0.5f;
    sparks.minimum.startVelocity = glm::vec3(50.0f);
    sparks.maximum.startVelocity = glm::vec3(-50.0f);
    sparks.minimum.scale = glm::vec3(1.0f);
    sparks.maximum.scale = glm::vec3(1.5f);
    sparks.moveParticles = true;
    sparks.textureName = "Point";
    sparks.LoadResources();
    sparks.burst = true;
    sparks.burstsLeft = 1;
    // Fires at the emitter's next update.
    sparks.burstTimer = sparks.burstInterval;
}

void Player_LogicComp::TakeHit()
{
    if (!mRemote)
        MatchStats::GetInstance().MatchResultPlayer2.value += 1;
    if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(owner)) {
        sounds->Play("PlayerHit", false, false);
        sounds->SetVolume("PlayerHit", kPlayerHitVolume);
    }
    // The view snaps narrower and widens back within a quarter second.
    FovLerper.value = FovStart.value = FovModifier.value - 0.125f;
    mFovTimer = 0.0f;
    FovTime.value = 0.25f;
    mHurtTimer = 0.0f;
    mHurting = true;
    mRevenge = true;
    if (Engine::StateMachine* hurt = MachineAt(HurtMachine))
        hurt->ChangeState("Hurting");
}

void Player_LogicComp::UpdateScoreHud()
{
    if (MatchRecorder::GetInstance().IsReplaying()) {
        ShowHudTexture(mSecondHud, "");
        ShowHudTexture(mScoreHud, "");
        return;
    }
    if (!HasWon()) {
        ShowHudTexture(mScoreHud, ScoreTexture(mPlayerNumber, mScore));
        return;
    }
    ShowHudTexture(mScoreHud, ScoreTexture(mPlayerNumber, mScoreLimit));
    AdvanceEndOfMatch();
}

// From the frame the limit is reached: slow motion at 2 % a frame, the end
// medals a quarter of the way in, and after the whole of it (real time) the
// request to end play with the time scale restored.
void Player_LogicComp::AdvanceEndOfMatch()
{
    if (mEndTimer >= kEndMedalsAt * mEndDuration && mEndMedalsPending) {
        ShowFinalMedalThroughHooks(owner, MedalPerfect);
        if (mRemote)
            ShowFinalMedalThroughHooks(mMedalHolder, MedalLost);
        mEndMedalsPending = false;
    }
    Engine::FrameRateController::SetTimeScale(Engine::FrameRateController::GetTimeScale() * kSlowMotionPerFrame);
    mEndTimer += PlayerFrame::Dt();
    if (mEndTimer >= mEndDuration) {
        if (IsHookSet(PlayerHooks::Get().requestEndOfPlay, "PlayerHooks::requestEndOfPlay"))
            PlayerHooks::Get().requestEndOfPlay();
        Engine::FrameRateController::SetTimeScale(1.0);
    }
}
