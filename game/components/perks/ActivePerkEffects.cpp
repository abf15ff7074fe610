// What each active perk does once paid for, the teleport's look and sound
// (here and for the peer's player), the hook the ball hands the peer's
// teleport through, and attaching a perk by its selection.
#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/core/Math.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/ParticleEmitter.h"
#include "game/arena/Palette.h"
#include "game/components/perks/ActivePerks.h"
#include "game/components/ball/BallHooks.h"
#include "game/components/ball/BallMessages.h"
#include "game/components/ball/BallSlowdown.h"
#include "game/components/shared/ParticleBurst.h"
#include "game/components/player/PlayerHold.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/player/PlayerLogicComp.h"

#include <cmath>

namespace ActivePerkss {
namespace {

constexpr float kTeleportVolume = 0.1f;
constexpr float kPlacedObjectVolume = 0.4f;
constexpr std::uint32_t kTrailParticles = 500;

template <class Perk>
Engine::TypeNode* RegisterPerk()
{
    return Engine::TypeRegistry::RegisterUnder<Perk, Engine::LogicComp>();
}

void PlaySound(Engine::EntityHandle entity, const char* name, bool loop, float volume)
{
    if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(entity)) {
        sounds->Play(name, loop, false);
        sounds->SetVolume(name, volume);
    }
}

void SendPlacedObject(std::uint32_t kind, const glm::vec3& at)
{
    if (!BallMessages::Networked())
        return;
    Net::PerkObject record;
    record.kind = kind;
    record.position = at;
    NetworkMgr::GetInstance().send_type_7(record);
}

} // namespace

Engine::TypeNode* TeleportToBall::RegisterClassType() { return RegisterPerk<TeleportToBall>(); }
Engine::TypeNode* SlowBall::RegisterClassType() { return RegisterPerk<SlowBall>(); }
Engine::TypeNode* Shield::RegisterClassType() { return RegisterPerk<Shield>(); }
Engine::TypeNode* Droppable::RegisterClassType() { return RegisterPerk<Droppable>(); }

void PlayTeleportEffect(Engine::EntityHandle entity, const TeleportTrail& trail)
{
    PlaySound(entity, "tpsfx", false, kTeleportVolume);
    Engine::ParticleEmitter* sparks = ParticleBurst::EmitterOf(entity, true);
    if (!sparks)
        return;
    ParticleBurst::Arm(*sparks, kTrailParticles);
    // The trail runs from foot to foot.
    const glm::vec3 feet(0.0f, trail.scaleY * 0.5f + trail.footOffset, 0.0f);
    sparks->shape = Engine::kParticleSegment;
    sparks->followOwner = false;
    sparks->pointA = trail.from - feet;
    sparks->pointB = trail.to - feet;
    sparks->moveParticles = true;
    sparks->minimum.startVelocity = trail.up * -2.0f;
    sparks->maximum.startVelocity = trail.up * 10.0f;
    sparks->minimum.lifetime = 0.3f;
    sparks->maximum.lifetime = 0.9f;
    const glm::vec4 start(CurrentPalette.Colour(ParticlesStart), 1.0f);
    const glm::vec4 end(CurrentPalette.Colour(ParticlesEnd), 0.0f);
    for (Engine::ParticleEmitterRange* range : {&sparks->minimum, &sparks->maximum}) {
        range->endVelocity = glm::vec3(0.0f);
        range->scale = glm::vec3(0.35f);
        range->endScale = glm::vec3(0.35f);
        range->startColour = start;
        range->endColour = end;
        range->startSpinRate = 0.0f;
        range->endSpinRate = 0.0f;
    }
    sparks->maximum.scale = glm::vec3(0.6f);
}

void RemoteTeleport(Engine::EntityHandle peerPlayer, const Net::PerkEffect& record)
{
    PlayTeleportEffect(peerPlayer, {record.start, record.target, record.scaleY, record.footOffset, record.up});
}

void FillBallHooks() { BallHooks::Get().remoteTeleport = &RemoteTeleport; }

// A player without a ball has nowhere to go: the teleport costs nothing.
bool TeleportToBall::EffectAvailable() const
{
    const Player_LogicComp* holder = Owner();
    return holder && holder->mBall.IsValid();
}

// The player lands where its ball is, or at the nearest place inside the
// arena when the ball flies in a wall or the ceiling beyond the player's
// reach. A ball position that is not a finite number (a ball flung out of
// the world) cancels the move after the sound and the sparks, and is not
// sent.
void TeleportToBall::Effect(Player_LogicComp& holder)
{
    if (!holder.mBall.IsValid())
        return;
    TeleportTrail trail;
    trail.from = Engine::Transform::GetWorldPosition(owner);
    trail.to = Engine::Transform::GetWorldPosition(holder.mBall);
    if (Engine::Math::IsFinite(trail.to))
        trail.to = PlayerHold::RoomFor(owner).Clamp(trail.to);
    const glm::vec3* scale = Engine::Transform::ScalePtr(owner);
    trail.scaleY = scale ? scale->y : 0.0f;
    trail.footOffset = holder.mFootOffset;
    if (const glm::vec3* up = Engine::Transform::UpPtr(owner))
        trail.up = *up;
    PlayTeleportEffect(owner, trail);

    const bool landable = Engine::Math::IsFinite(trail.to);
    if (landable && BallMessages::Networked()) {
        Net::PerkEffect record;
        record.subKind = Net::PerkEffect::kTeleport;
        record.start = trail.from;
        record.scaleY = trail.scaleY;
        record.footOffset = trail.footOffset;
        record.up = trail.up;
        // The peer's trail ends where this frame's hold leaves the player
        // (out of a column or another player it landed in), not at the ball.
        NetworkMgr::GetInstance().send_type_5_once_placed(owner, record);
    }
    // Here the trail takes the player's own colour.
    if (Engine::ParticleEmitter* sparks = ParticleBurst::EmitterOf(owner, false)) {
        const glm::vec4 colour(PlayerFrame::RenderColourOf(owner, glm::vec3(1.0f)), 1.0f);
        sparks->minimum.startColour = colour;
        sparks->maximum.startColour = colour;
    }
    if (!landable)
        return;
    // A ghost for the rest of the frame, so that the landing pushes nothing.
    if (Engine::CollisionComp* body = PlayerFrame::BodyOf(owner))
        body->mGhost.value = true;
    Engine::Transform::SetWorldPosition(owner, trail.to);
}

// Alone in the arena with no goal ball flying, there is no ball to slow:
// the perk costs nothing and stays ready.
bool SlowBall::EffectAvailable() const
{
    const Player_LogicComp* holder = Owner();
    return holder && (holder->mOpponentBall.IsValid() || !Net::Names::First(Net::Names::kGoalBall).IsNull());
}

void SlowBall::Effect(Player_LogicComp& holder)
{
    if (holder.mOpponentBall.IsValid()) {
        BallSlowdown::Slow(holder.mOpponentBall);
        if (BallMessages::Networked()) {
            Net::PerkEffect record;
            record.subKind = Net::PerkEffect::kSlowBall;
            NetworkMgr::GetInstance().send_type_5(record);
        }
    }
    BallSlowdown::SlowGoalBalls();
}

// A match without forcefields (no spawner installed) takes no energy for
// the shield, places nothing and starts no hum.
bool Shield::EffectAvailable() const
{
    return IsHookSet(PlayerHooks::Get().spawnForcefield, "PlayerHooks::spawnForcefield");
}

// The shield hums until its forcefield goes.
void Shield::Effect(Player_LogicComp& /*holder*/)
{
    const glm::vec3 at = Engine::Transform::GetWorldPosition(owner);
    PlayerHooks::Get().spawnForcefield(owner, at);
    PlaySound(owner, "ShieldSfx", true, kPlacedObjectVolume);
    SendPlacedObject(Net::PerkObject::kForcefield, at);
}

bool Droppable::EffectAvailable() const
{
    return IsHookSet(PlayerHooks::Get().spawnStunArea, "PlayerHooks::spawnStunArea");
}

// The stun area buzzes until it goes; it belongs to the player who dropped it.
void Droppable::Effect(Player_LogicComp& /*holder*/)
{
    const glm::vec3 at = Engine::Transform::GetWorldPosition(owner);
    PlayerHooks::Get().spawnStunArea(owner, at);
    PlaySound(owner, "StunSfx", true, kPlacedObjectVolume);
    SendPlacedObject(Net::PerkObject::kStunArea, at);
}

namespace {

template <class Perk>
bool Attach(Engine::EntityHandle entity, Player_LogicComp& holder, Kind kind)
{
    Engine::LogicManager::GetInstance().AddComponent<Perk>(entity);
    holder.mActiveKind = kind;
    return true;
}

} // namespace

bool AttachBySelection(Engine::EntityHandle player, int selection)
{
    Player_LogicComp* holder = Engine::LogicManager::GetCompPtr<Player_LogicComp>(player);
    if (!holder)
        return false;
    switch (selection) {
    case 0:
        return Attach<TeleportToBall>(player, *holder, TeleportToBallKind);
    case 1:
        return Attach<Shield>(player, *holder, ShieldKind);
    case 2:
        return Attach<SlowBall>(player, *holder, SlowBallKind);
    case 3:
        return Attach<Droppable>(player, *holder, DroppableKind);
    default:
        return false;
    }
}

} // namespace ActivePerkss
