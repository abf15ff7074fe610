// What a ball's contact means: a bounce, a catch, a shield's block, a tile's
// colour splash, a goal on the goal ball or a hit on the opponent.
#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionComp.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/platform/Clock.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/MatchStats.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/ball/BallMessages.h"
#include "game/components/ball/BallStates.h"
#include "game/components/tile/ColourCollider.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/ShieldLogic.h"
#include "game/components/ball/TempBallComp.h"
#include "game/components/tile/TileLogicComponent.h"

namespace {

constexpr float kBallHitVolume = 0.4f;
constexpr glm::vec3 kSplashScale{0.2f};

bool IsTile(Engine::EntityHandle entity)
{
    return entity.Exists() && Engine::EntityTagCompManager::GetInstance().HasTag(entity, "Tile");
}

// Whole seconds of the match so far.
int MatchSeconds()
{
    const std::uint64_t start = MatchStats::GetInstance().matchStartTime;
    const std::uint64_t now = Engine::Platform::NowNanoseconds();
    return now > start ? static_cast<int>((now - start) / 1000000000ull) : 0;
}

// The player whose ball this player plays against, when it has one.
const Player_LogicComp* OpponentOf(const Player_LogicComp& player)
{
    const Engine::EntityHandle theirs = player.mOpponentBall;
    const TempBallComp* ball = theirs.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<TempBallComp>(theirs);
    return ball ? Engine::LogicManager::GetCompPtr<Player_LogicComp>(ball->mPlayer) : nullptr;
}

// A replay (or a tutorial) shows the hits and goals it recorded: a ball
// still in flight from live play meets them again and must not score them.
bool Replaying() { return MatchRecorder::GetInstance().IsReplaying(); }

} // namespace

void TempBallComp::HandleContact(Engine::CollisionEvent* event)
{
    if (!event)
        return;
    if (const Engine::CollisionComp* body = PlayerFrame::BodyOf(owner); body && body->mGhost.value)
        return;
    const Engine::EntityHandle other = event->other;
    if (mPassThrough.set && other == mPassThrough.shield)
        return;
    // The same contact reported again.
    if (event->normal == mLastNormal)
        return;
    mLastNormal = event->normal;
    if (IsTile(other)) {
        if (other == mLastTile)
            return;
        mLastTile = other;
    }
    ++mContacts;
    Engine::StateMachine* flight = FlightMachine();
    const Engine::State* next = flight ? flight->GetNextState() : nullptr;
    if (next && next->GetName() == "BallIdle")
        return;
    if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(owner))
        sounds->Play("BounceBall", false, false);

    if (mBlock.set && other == mBlock.shield) {
        if (flight) {
            flight->ChangeState("BallIdle");
            if (BallIdle* idle = flight->GetState<BallIdle>())
                idle->mShieldReturn = 1;
        }
        if (Shield_Logic* shield = Engine::LogicManager::GetCompPtr<Shield_Logic>(other))
            shield->mRemoved = true;
        return;
    }
    if (!other.IsNull() && other == mPlayer) {
        if (flight)
            flight->ChangeState("BallIdle");
        return;
    }
    if (!Engine::LogicManager::GetCompPtr<Player_LogicComp>(other)) {
        TouchNonPlayer(*event, other);
        return;
    }
    if (!Replaying())
        HitOpponent(other);
    // Hit or not, the ball goes back into the hand at once.
    if (flight)
        flight->ChangeState("BallIdle");
}

// A wall, a tile, the goal ball or anything else: the ball bounces on with
// a fresh trail.
void TempBallComp::TouchNonPlayer(const Engine::CollisionEvent& event, Engine::EntityHandle other)
{
    mDirect = 0;
    if (FlightStateName() == "BallReturn")
        FlightMachine()->ChangeState("ReturnBounce");
    EndTrail();
    StartTrail();
    if (Engine::LogicManager::GetCompPtr<TileLogicComponent>(other))
        SplashTile(event, other);
    if (GoalBall* goal = Engine::LogicManager::GetCompPtr<GoalBall>(other); goal && goal->mActive && !Replaying())
        ScoreGoal(other);
    MatchRecorder::GetInstance().AddMomentPoints(Player_LogicComp::PlayerNumberOf(mPlayer), MatchRecorder::BallContact);
}

void TempBallComp::SplashTile(const Engine::CollisionEvent& event, Engine::EntityHandle tile)
{
    BallMessages::SendTrail(false);
    BallMessages::SendTrail(true);
    if (mSplashCooldown > 0.0)
        return;
    const glm::vec3 at = Engine::Transform::GetWorldPosition(owner);
    const glm::vec3* up = Engine::Transform::UpPtr(tile);
    BallMessages::SendSplash(at, up ? *up : glm::vec3(0.0f, 1.0f, 0.0f));
    HitBurst(event);
    SpawnSplash(at);
    mSplashCooldown = kSplashCooldown;
}

// A ghost sphere that grows where the ball struck; the tiles it touches
// flash in the colour of the ball's owner, here or the peer's.
void TempBallComp::SpawnSplash(const glm::vec3& at) const
{
    const Engine::EntityHandle splash = Engine::EntityMgr::GetInstance().CreateEntity();
    if (splash.IsNull())
        return;
    Engine::TransformCompManager::GetInstance().AddComponent(splash);
    Engine::Transform::SetWorldPosition(splash, at);
    Engine::Transform::ScaleRef(splash) = kSplashScale;
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(splash);
    body.mCollisionShape.value = Engine::ShapeSphere;
    body.mGhost.value = true;
    // Named, not left at tag value 0, which need not be "Default".
    body.SetCollisionType("Default");
    Engine::SetEntityName(splash, "Colour_Collider");
    Engine::LogicManager::GetInstance().AddComponent<ColourCollider>(splash);
    Engine::LogicManager::GetCompPtr<ColourCollider>(splash)->colour.value =
        PlayerFrame::PlayerColour(Player_LogicComp::PlayerNumberOf(mPlayer));
}

// The goal ball is spent at once, even if the goal is the peer's to count.
void TempBallComp::ScoreGoal(Engine::EntityHandle goalBall)
{
    const int number = Player_LogicComp::PlayerNumberOf(mPlayer);
    MatchRecorder::GetInstance().AddMomentPoints(number, MatchRecorder::GoalBallGoal);
    // No second goal off the same ball before it is gone at the frame's end.
    Engine::LogicManager::GetCompPtr<GoalBall>(goalBall)->mActive = 0;
    goalBall.Destroy();
    Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(mPlayer);
    if (!player || player->mRemote)
        return;
    // After the opponent's win, in the slow motion, a goal would make a
    // second winner.
    if (const Player_LogicComp* opponent = OpponentOf(*player); opponent && opponent->HasWon())
        return;
    player->AddGoalPoints();
    if (BadgeManagerComp* medals = Engine::LogicManager::GetCompPtr<BadgeManagerComp>(mPlayer))
        medals->PushMedal(BadgeManagerComp::MedalGoalShot);
    PlayHitSound();
    BallMessages::SendScore(player->mScore, false);
}

// Whether the hit counts is the player's rule (Player_LogicComp::ExchangeHit);
// a hit that counts is also counted in the match's statistics.
void TempBallComp::HitOpponent(Engine::EntityHandle victim)
{
    Player_LogicComp* shooter = Engine::LogicManager::GetCompPtr<Player_LogicComp>(mPlayer);
    Player_LogicComp* target = Engine::LogicManager::GetCompPtr<Player_LogicComp>(victim);
    if (!shooter || !target || !Player_LogicComp::ExchangeHit(*shooter, *target))
        return;
    MatchStats& stats = MatchStats::GetInstance();
    if (!mDirect)
        stats.HitsAfterBounce.value += 1;
    stats.DistanceWhenGoalScored.value.push_back(
        glm::distance(Engine::Transform::GetWorldPosition(victim), Engine::Transform::GetWorldPosition(mPlayer)));
    stats.TimesGoalScored.value.push_back(MatchSeconds());
    PlayHitSound();
    BallMessages::SendScore(shooter->mScore, true);
}

void TempBallComp::PlayHitSound() const
{
    if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(owner)) {
        sounds->Play("PlayerHit", false, false);
        sounds->SetVolume("PlayerHit", kBallHitVolume);
    }
}
