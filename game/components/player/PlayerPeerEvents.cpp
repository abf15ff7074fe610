// What the peer's game tells a player: goals and hits, the goal ball, its
// shield, arena events and placed perk objects. Each record is decoded in
// full first; one with a non-finite value or an unknown kind is dropped
// with a message, and so is any record for a player that is neither number
// 1 nor 2.
#include "engine/audio/Emitter.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NamedEntities.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/player/PlayerLogicComp.h"

#include <iostream>

namespace {

using Engine::NetworkingEvent;

void ReportDroppedPlayerMessage(std::uint32_t code, const char* problem)
{
    std::cerr << "[Player] Dropped the peer's message of code " << code << ": " << problem << "\n";
}

template <class Record>
bool Usable(const Net::Decoded<Record>& decoded, std::uint32_t code)
{
    if (!decoded)
        ReportDroppedPlayerMessage(code, decoded.problem);
    return static_cast<bool>(decoded);
}

} // namespace

void Player_LogicComp::OnNetworkingEvent(Engine::NetworkingEvent* event)
{
    if (!event || event->code < NetworkingEvent::kScore || event->code > NetworkingEvent::kPerkObject)
        return;
    if (mPlayerNumber != 1 && mPlayerNumber != 2) {
        ReportDroppedPlayerMessage(event->code, "the player is neither number 1 nor 2");
        return;
    }
    const PlayerHooks& hooks = PlayerHooks::Get();
    switch (event->code) {
    case NetworkingEvent::kScore: {
        const auto decoded = Net::DecodeScore(event->Payload());
        if (!Usable(decoded, event->code))
            return;
        if (decoded.record.kind == Net::Score::kGoal) {
            if (mRemote)
                AddGoalPoints();
        } else if (mRemote) {
            ScoreHit();
        } else {
            TakeHit();
        }
        return;
    }
    case NetworkingEvent::kGoalBall:
        // The host's new goal ball waits before it flies. One still out here
        // waits with it: flying on, it could score here, or be spent by the
        // host's ball, while the host's cannot be touched.
        if (IsHookSet(hooks.goalBallAlive, "PlayerHooks::goalBallAlive") && hooks.goalBallAlive()) {
            if (IsHookSet(hooks.restartGoalBall, "PlayerHooks::restartGoalBall"))
                hooks.restartGoalBall();
        } else if (IsHookSet(hooks.spawnGoalBallQuietly, "PlayerHooks::spawnGoalBallQuietly")) {
            hooks.spawnGoalBallQuietly();
        }
        return;
    case NetworkingEvent::kPerkEffect: {
        const auto decoded = Net::DecodePerkEffect(event->Payload());
        if (Usable(decoded, event->code) && decoded.record.subKind == Net::PerkEffect::kShield)
            CreateShield();
        return;
    }
    case NetworkingEvent::kArenaEvent: {
        const auto decoded = Net::DecodeArenaEvent(event->Payload());
        if (!Usable(decoded, event->code))
            return;
        if (decoded.record.kind == Net::ArenaEvent::kCoolDown) {
            if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(owner))
                sounds->Play("EventCooldown", false, false);
        } else if (decoded.record.kind == Net::ArenaEvent::kFlip &&
                   IsHookSet(hooks.startArenaFlip, "PlayerHooks::startArenaFlip")) {
            hooks.startArenaFlip();
        }
        return;
    }
    case NetworkingEvent::kPerkObject: {
        const auto decoded = Net::DecodePerkObject(event->Payload());
        if (!Usable(decoded, event->code))
            return;
        const Net::PerkObject& object = decoded.record;
        if (object.kind == Net::PerkObject::kForcefield) {
            if (IsHookSet(hooks.spawnForcefield, "PlayerHooks::spawnForcefield"))
                hooks.spawnForcefield(Engine::EntityHandle(), object.position);
        } else if (object.kind == Net::PerkObject::kStunArea &&
                   IsHookSet(hooks.spawnStunArea, "PlayerHooks::spawnStunArea")) {
            const Engine::EntityHandle peer = Net::Names::First(Net::Names::kRemotePlayer);
            if (!peer.IsNull())
                hooks.spawnStunArea(peer, object.position);
        }
        return;
    }
    default:
        return;
    }
}
