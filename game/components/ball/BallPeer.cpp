// The ball's sparks, what the peer's game tells a ball (its perks, its
// ball's trail and splashes) and a lost controller. A peer record with a
// non-finite value or an unknown kind is dropped with a message.
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/DisconnectEvent.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/ParticleEmitter.h"
#include "game/components/ball/BallHooks.h"
#include "game/components/ball/BallSlowdown.h"
#include "game/components/shared/ParticleBurst.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TempBallComp.h"
#include "game/config/InputBindings.h"

#include <cmath>
#include <iostream>

namespace {

using Engine::NetworkingEvent;

constexpr std::uint32_t kHitSparks = 200;
constexpr std::uint32_t kPeerSparks = 20;
constexpr float kSparkSpeed = 50.0f;
constexpr float kPeerSparkSpeed = 5.0f;

void ReportDroppedBallMessage(std::uint32_t code, const char* problem)
{
    std::cerr << "[Ball] Dropped the peer's message of code " << code << ": " << problem << "\n";
}

Engine::ParticleEmitter* SparksOf(Engine::EntityHandle ball) { return ParticleBurst::EmitterOf(ball, false); }

// One burst of `count` sparks from a point, fired at the emitter's next
// update.
void Burst(Engine::ParticleEmitter& sparks, std::uint32_t count, const glm::vec3& at)
{
    ParticleBurst::Arm(sparks, count);
    sparks.shape = Engine::kParticlePoint;
    sparks.pointA = at;
    sparks.minimum.lifetime = 0.2f;
    sparks.maximum.lifetime = 0.5f;
    for (Engine::ParticleEmitterRange* range : {&sparks.minimum, &sparks.maximum}) {
        range->endVelocity = glm::vec3(0.0f);
        range->scale = glm::vec3(1.0f);
        range->endScale = glm::vec3(1.5f);
        range->endColour = glm::vec4(1.0f, 1.0f, 1.0f, 0.0f);
        range->startSpinRate = 0.0f;
        range->endSpinRate = 0.0f;
    }
    sparks.moveParticles = true;
}

} // namespace

// A fan of sparks thrown back off the surface the ball struck.
void TempBallComp::HitBurst(const Engine::CollisionEvent& event)
{
    Engine::ParticleEmitter* sparks = SparksOf(owner);
    if (!sparks)
        return;
    const glm::vec3 away = -event.normal;
    glm::vec3 side = glm::cross(away, glm::vec3(0.0f, 1.0f, 0.0f));
    // Struck straight from above or below: any horizontal side will do.
    side = glm::length(side) > 1e-6f ? glm::normalize(side) : glm::vec3(1.0f, 0.0f, 0.0f);
    const glm::vec3 across = glm::cross(away, side);
    auto direction = [](const glm::vec3& v) {
        const float length = glm::length(v);
        return length > 1e-6f && std::isfinite(length) ? v / length : glm::vec3(0.0f);
    };
    Burst(*sparks, kHitSparks, Engine::Transform::GetWorldPosition(owner));
    sparks->minimum.startVelocity = kSparkSpeed * direction(side + across);
    sparks->maximum.startVelocity = kSparkSpeed * direction(away - side - across);
    const glm::vec4 colour(PlayerFrame::RenderColourOf(mPlayer, glm::vec3(1.0f)) * 0.5f, 0.5f);
    sparks->minimum.startColour = colour;
    sparks->maximum.startColour = colour;
}

// The peer's ball struck a tile: a few sparks leave from the ball itself
// along the tile's up vector.
void TempBallComp::RemoteHitBurst(const glm::vec3& /*position*/, const glm::vec3& direction)
{
    Engine::ParticleEmitter* sparks = SparksOf(owner);
    if (!sparks)
        return;
    Burst(*sparks, kPeerSparks, Engine::Transform::GetWorldPosition(owner));
    sparks->minimum.startVelocity = direction * kPeerSparkSpeed;
    sparks->maximum.startVelocity = direction * kPeerSparkSpeed;
    const glm::vec4 colour(0.5f, 0.0f, 0.0f, 0.5f);
    sparks->minimum.startColour = colour;
    sparks->maximum.startColour = colour;
}

void TempBallComp::OnNetworkingEvent(Engine::NetworkingEvent* event)
{
    if (!event)
        return;
    if (event->code == NetworkingEvent::kPerkEffect) {
        const auto decoded = Net::DecodePerkEffect(event->Payload());
        if (!decoded) {
            ReportDroppedBallMessage(event->code, decoded.problem);
            return;
        }
        const Net::PerkEffect& effect = decoded.record;
        if (effect.subKind == Net::PerkEffect::kTeleport) {
            if (IsHookSet(BallHooks::Get().remoteTeleport, "BallHooks::remoteTeleport")) {
                for (Engine::EntityHandle peer :
                     Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(Net::Names::kRemotePlayer))
                    BallHooks::Get().remoteTeleport(peer, effect);
            }
        } else if (effect.subKind == Net::PerkEffect::kSlowBall) {
            // The peer's slow-ball perk slows this ball and the goal ball.
            BallSlowdown::Slow(owner);
            BallSlowdown::SlowGoalBalls();
        }
        return;
    }
    if (event->code == NetworkingEvent::kBallEffect) {
        const auto decoded = Net::DecodeBallEffect(event->Payload());
        if (!decoded) {
            ReportDroppedBallMessage(event->code, decoded.problem);
            return;
        }
        const Net::BallEffect& effect = decoded.record;
        if (effect.effect == Net::BallEffect::kSplash) {
            SpawnSplash(effect.position);
            RemoteHitBurst(effect.position, effect.up);
        } else if (effect.trail) {
            StartTrail();
        } else {
            EndTrail();
        }
    }
}

// Over a link, a player whose pad is pulled out goes on with mouse and keys.
void TempBallComp::OnDisconnect(Engine::DisconnectEvent* event)
{
    if (!event || !NetworkMgr::GetInstance().connected || mPlayer.IsNull() || !(event->entity == mPlayer))
        return;
    if (const int number = Player_LogicComp::PlayerNumberOf(mPlayer); number > 0)
        InputBindings::ForPlayer(number).UsesController = false;
}
