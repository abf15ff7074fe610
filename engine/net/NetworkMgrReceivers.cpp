#include "engine/net/NetworkMgr.h"

#include "engine/core/Transform.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/BodyVelocity.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/PrematchHandlerList.h"

#include <algorithm>
#include <cmath>

using Engine::EntityHandle;
using Engine::NetworkingEvent;
using Net::NewestSeqs;
namespace Names = Net::Names;

namespace {

// Within channel 4, the subject of the spawn records (per-frame states are 0).
constexpr std::uint32_t kSpawnSubject = 1;

// The first entity of the name, noting the name when it is missing.
EntityHandle Find(const std::string& name, std::string& missing)
{
    const EntityHandle found = Names::First(name);
    if (found.IsNull() && missing.empty())
        missing = name;
    return found;
}

// The record with the highest seq not older than base_seq, or null.
const Net::ReceivedRecord* Newest(const std::vector<Net::ReceivedRecord>& records, std::uint32_t baseSeq)
{
    const Net::ReceivedRecord* newest = nullptr;
    for (const Net::ReceivedRecord& each : records) {
        if (each.seq >= baseSeq && (!newest || each.seq > newest->seq))
            newest = &each;
    }
    return newest;
}

// The peer's player faces where its state says. An honest peer sends a
// unit vector; any other length stretches the player's model and collision
// box as much (a hostile peer could push this machine's player out of the
// arena with it), and none at all flattens them. Scaled to unit length
// (by the largest part first, so a huge one does not overflow), or left
// as it was when it has none.
void FacePeerForward(EntityHandle player, const glm::vec3& forward)
{
    const float largest = std::max({std::fabs(forward.x), std::fabs(forward.y), std::fabs(forward.z)});
    if (!(largest > 0.0f))
        return;
    const glm::vec3 scaled = forward / largest;
    Engine::Transform::ForwardRef(player) = scaled / glm::length(scaled);
}

} // namespace

void NetworkMgr::dispatch(std::uint32_t code, const Net::ReceivedRecord& record, EntityHandle target)
{
    Engine::NetworkingEvent event;
    event.Fill(code, record.payload);
    Engine::EventHandlerList::Raise(event, target);
}

NetworkMgr::Delivery NetworkMgr::refuse(std::int32_t channel, const char* problem)
{
    const std::string text = "Dropped a channel " + std::to_string(channel) + " record: " + problem;
    if (!limited(text))
        Net::PrintLine(text);
    return Delivery::Dropped;
}

// Hands the channel's records to `deliver` in arrival order. The batch is
// taken out of the queue first: a handler may send, receive or even end the
// link while it runs, and must not shift the records under this walk.
int NetworkMgr::serve(std::int32_t channel, const Deliver& deliver)
{
    Net::ChannelBlock& queue = block(channel);
    if (queue.received.empty())
        return 0;
    std::vector<Net::ReceivedRecord> batch = std::move(queue.received);
    queue.received.clear();
    const std::uint64_t epoch = link_epoch;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        std::string missing;
        const Delivery delivery = deliver(batch[i], missing);
        if (link_epoch != epoch)
            return 1;
        if (delivery == Delivery::Delivered)
            block(channel).base_seq = batch[i].seq;
        if (delivery != Delivery::Waiting)
            continue;
        if (age_of(batch[i].arrivedNs) > kTargetWaitSeconds) {
            refuse(channel, ("no entity named \"" + missing + "\" showed up").c_str());
            continue;
        }
        // Delivered records are gone; the waiting one and those after it go
        // back ahead of anything that arrived meanwhile.
        auto& rest = block(channel).received;
        rest.insert(rest.begin(), std::make_move_iterator(batch.begin() + static_cast<std::ptrdiff_t>(i)),
            std::make_move_iterator(batch.end()));
        return -1;
    }
    return 1;
}

bool NetworkMgr::recv_type_0(Net::LevelRecord& out)
{
    Net::ChannelBlock& queue = block(Net::kLevelChannel);
    if (queue.received.empty())
        return false;
    const Net::ReceivedRecord* newest = Newest(queue.received, queue.base_seq);
    if (newest && newest->payload.size() >= out.size()) {
        std::copy_n(newest->payload.begin(), out.size(), out.begin());
        queue.base_seq = newest->seq;
    } else {
        newest = nullptr;
    }
    queue.received.clear();
    if (!newest)
        return false;
    setup_exchanged = 1;
    return true;
}

int NetworkMgr::recv_type_1()
{
    constexpr std::size_t kDeliveredMarker = Net::PlayerState::kDeliveredOffset;
    if (latest_state[kDeliveredMarker] || flow_flags[kFreezeTraffic] || flow_flags[kPeerPlayEnded])
        return 1;
    const auto decoded = Net::DecodePlayerState(latest_state);
    const auto markDelivered = [this] {
        latest_state.fill(0);
        latest_state[kDeliveredMarker] = 1;
    };
    if (!decoded) {
        refuse(Net::PlayerState::kChannel, decoded.problem);
        markDelivered();
        return 1;
    }
    std::string missing;
    const EntityHandle player = Find(Names::kRemotePlayer, missing);
    const EntityHandle ball = Find(Names::kRemoteBall, missing);
    if (!missing.empty())
        return 0;
    const Net::PlayerState& state = decoded.record;
    Engine::Transform::PositionRef(player) = state.position;
    FacePeerForward(player, state.forward);
    Net::WriteVelocity(player, state.velocity);
    Engine::Transform::PositionRef(ball) = state.ballPosition;
    Net::WriteVelocity(ball, state.ballVelocity);
    markDelivered();
    return 1;
}

int NetworkMgr::recv_type_2()
{
    return serve(Net::TileBend::kChannel, [this](const Net::ReceivedRecord& record, std::string& missing) {
        const auto decoded = Net::DecodeTileBend(record.payload, tile_count);
        if (!decoded)
            return refuse(Net::TileBend::kChannel, decoded.problem);
        const EntityHandle tile = Find(Names::Tile(decoded.record.tile), missing);
        if (tile.IsNull())
            return Delivery::Waiting;
        if (!newest_seqs.Take(NewestSeqs::Subject(Net::TileBend::kChannel, decoded.record.tile), record.seq))
            return Delivery::Dropped;
        dispatch(NetworkingEvent::kTileBend, record, tile);
        return Delivery::Delivered;
    });
}

// The host spawns a goal ball while the old one may still be out on the
// client: a goal the peer scored on the old one, taken here after the new
// one is out, must not spend the new one, or one machine keeps a goal ball
// the other has not. On the client the host's records say it: the newest
// spawn taken was sent after the goal. On the host the client's
// acknowledgement of the spawn says it, by its number: the goals the
// client numbered after it were scored on the new ball. Until it comes (it
// may be late, or lost and sent again) the goal counts, the new ball is
// spared, and whether the goal spent it is settled once it has come.
bool NetworkMgr::goal_spends_newest_spawn(std::uint32_t goalSeq)
{
    if (!server)
        return !newest_seqs.TookNewerThan(NewestSeqs::Subject(Net::GoalBallState::kChannel, kSpawnSubject), goalSeq);
    if (!newest_spawn.seq)
        return true;
    if (newest_spawn.takenAt)
        return Net::SentAfter(goalSeq, *newest_spawn.takenAt);
    if (!newest_spawn.goalSpared || Net::SentAfter(goalSeq, *newest_spawn.goalSpared))
        newest_spawn.goalSpared = goalSeq;
    return false;
}

void NetworkMgr::settle_spared_goal()
{
    if (!newest_spawn.goalSpared || !newest_spawn.takenAt)
        return;
    const bool spent = Net::SentAfter(*newest_spawn.goalSpared, *newest_spawn.takenAt);
    newest_spawn.goalSpared.reset();
    if (const EntityHandle goalBall = Names::First(Names::kGoalBall); spent && !goalBall.IsNull())
        goalBall.Destroy();
}

int NetworkMgr::recv_type_3()
{
    settle_spared_goal();
    return serve(Net::Score::kChannel, [this](const Net::ReceivedRecord& record, std::string& missing) {
        const auto decoded = Net::DecodeScore(record.payload);
        if (!decoded)
            return refuse(Net::Score::kChannel, decoded.problem);
        // Both players are found before anything happens, so that a record
        // that waits has not destroyed the goal ball already. The goal ball
        // itself is not waited for: the peer's ball spends it here too in
        // the frame it touches it, and the goal must count all the same.
        const EntityHandle local = Find(Names::kLocalPlayer, missing);
        const EntityHandle remote = Find(Names::kRemotePlayer, missing);
        if (!missing.empty())
            return Delivery::Waiting;
        if (decoded.record.kind == Net::Score::kGoal && goal_spends_newest_spawn(record.seq)) {
            if (const EntityHandle goalBall = Names::First(Names::kGoalBall); !goalBall.IsNull())
                goalBall.Destroy();
        }
        dispatch(NetworkingEvent::kScore, record, local);
        dispatch(NetworkingEvent::kScore, record, remote);
        return Delivery::Delivered;
    });
}

int NetworkMgr::recv_type_4()
{
    return serve(Net::GoalBallState::kChannel, [this](const Net::ReceivedRecord& record, std::string& missing) {
        const auto decoded = Net::DecodeGoalBallState(record.payload);
        if (!decoded)
            return refuse(Net::GoalBallState::kChannel, decoded.problem);
        if (decoded.record.kind != Net::GoalBallState::kPerFrame) {
            const EntityHandle player = Find(Names::kLocalPlayer, missing);
            if (player.IsNull())
                return Delivery::Waiting;
            newest_seqs.Take(NewestSeqs::Subject(Net::GoalBallState::kChannel, kSpawnSubject), record.seq);
            dispatch(NetworkingEvent::kGoalBall, record, player);
            return Delivery::Delivered;
        }
        // Per-frame states are never re-sent: an older one than that applied,
        // or one for a goal ball not spawned here yet, is simply stale and
        // must not hold up the spawn record behind it.
        const EntityHandle goalBall = Names::First(Names::kGoalBall);
        if (goalBall.IsNull() || !newest_seqs.Take(NewestSeqs::Subject(Net::GoalBallState::kChannel), record.seq))
            return Delivery::Dropped;
        Engine::Transform::PositionRef(goalBall) = decoded.record.position;
        Net::WriteVelocity(goalBall, decoded.record.velocity);
        return Delivery::Delivered;
    });
}

int NetworkMgr::recv_type_5()
{
    return serve(Net::PerkEffect::kChannel, [this](const Net::ReceivedRecord& record, std::string& missing) {
        const auto decoded = Net::DecodePerkEffect(record.payload);
        if (!decoded)
            return refuse(Net::PerkEffect::kChannel, decoded.problem);
        const bool onBall = decoded.record.subKind == Net::PerkEffect::kSlowBall
            || decoded.record.subKind == Net::PerkEffect::kTeleport;
        const EntityHandle target = Find(onBall ? Names::kLocalBall : Names::kRemotePlayer, missing);
        if (target.IsNull())
            return Delivery::Waiting;
        dispatch(NetworkingEvent::kPerkEffect, record, target);
        return Delivery::Delivered;
    });
}

int NetworkMgr::recv_type_6()
{
    return serve(Net::ArenaEvent::kChannel, [this](const Net::ReceivedRecord& record, std::string& missing) {
        const auto decoded = Net::DecodeArenaEvent(record.payload, tile_count);
        if (!decoded)
            return refuse(Net::ArenaEvent::kChannel, decoded.problem);
        if (decoded.record.kind != Net::ArenaEvent::kCrashingTiles) {
            const EntityHandle player = Find(Names::kLocalPlayer, missing);
            if (player.IsNull())
                return Delivery::Waiting;
            dispatch(NetworkingEvent::kArenaEvent, record, player);
            return Delivery::Delivered;
        }
        std::array<EntityHandle, 3> tiles;
        for (std::size_t i = 0; i < tiles.size(); ++i)
            tiles[i] = Find(Names::Tile(static_cast<std::uint32_t>(decoded.record.tiles[i])), missing);
        if (!missing.empty())
            return Delivery::Waiting;
        for (const EntityHandle& tile : tiles)
            dispatch(NetworkingEvent::kArenaEvent, record, tile);
        return Delivery::Delivered;
    });
}

int NetworkMgr::recv_type_7()
{
    return serve(Net::PerkObject::kChannel, [this](const Net::ReceivedRecord& record, std::string& missing) {
        const auto decoded = Net::DecodePerkObject(record.payload, tile_count);
        if (!decoded)
            return refuse(Net::PerkObject::kChannel, decoded.problem);
        const bool forTile = decoded.record.kind == Net::PerkObject::kTileEvent;
        const EntityHandle target = Find(forTile ? Names::Tile(decoded.record.tile) : Names::kLocalPlayer, missing);
        if (target.IsNull())
            return Delivery::Waiting;
        dispatch(NetworkingEvent::kPerkObject, record, target);
        return Delivery::Delivered;
    });
}

int NetworkMgr::recv_type_9()
{
    return serve(Net::BallEffect::kChannel, [this](const Net::ReceivedRecord& record, std::string& missing) {
        const auto decoded = Net::DecodeBallEffect(record.payload);
        if (!decoded)
            return refuse(Net::BallEffect::kChannel, decoded.problem);
        const EntityHandle ball = Find(Names::kRemoteBall, missing);
        if (ball.IsNull())
            return Delivery::Waiting;
        // A trail change sets the trail on or off; a splash is an event
        // and counts whenever it comes.
        const bool trail = decoded.record.effect != Net::BallEffect::kSplash;
        if (trail && !newest_seqs.Take(NewestSeqs::Subject(Net::BallEffect::kChannel), record.seq))
            return Delivery::Dropped;
        dispatch(NetworkingEvent::kBallEffect, record, ball);
        return Delivery::Delivered;
    });
}

void NetworkMgr::serve_flow()
{
    Net::ChannelBlock& queue = block(Net::Flow::kChannel);
    if (queue.received.empty())
        return;
    const Net::ReceivedRecord* newest = Newest(queue.received, queue.base_seq);
    if (!newest) {
        queue.received.clear();
        return;
    }
    const std::uint32_t seq = newest->seq;
    const Net::Flow flow = Net::DecodeFlow(newest->payload).record;
    if (flow.a) {
        flow_flags[kPeerPlayEnded] = 1;
        flow_flags[kPeerFlowB] = 0;
        flow_flags[kPeerFlowC] = 0;
    } else if (flow.b) {
        flow_flags[kPeerPlayEnded] = 0;
        flow_flags[kPeerFlowB] = 1;
        flow_flags[kPeerFlowC] = 0;
    } else if (flow.c) {
        flow_flags.fill(0);
        flow_flags[kPeerFlowC] = 1;
        clear_queues();
    }
    queue.base_seq = seq;
    queue.received.clear();
    setup_exchanged = 0;
}

void NetworkMgr::serve_prematch()
{
    serve(Net::Prematch::kChannel, [this](const Net::ReceivedRecord& record, std::string&) {
        const auto decoded = Net::DecodePrematch(record.payload);
        if (!decoded)
            return refuse(Net::Prematch::kChannel, decoded.problem);
        const bool state = decoded.record.kind == Net::Prematch::kState;
        if (state && !newest_seqs.Take(NewestSeqs::Subject(Net::Prematch::kChannel), record.seq))
            return Delivery::Delivered;
        if (decoded.record.kind != Net::Prematch::kKeepAlive) {
            PrematchMessage message;
            message.kind = decoded.record.kind;
            message.value = decoded.record.value;
            PrematchHandlerList::Raise(message);
        }
        return Delivery::Delivered;
    });
}

// Outside the menus channel 10 is not served, yet keep-alives still come
// whenever the peer has nothing else to send; they carry nothing, so they
// are let go rather than left to fill the queue.
void NetworkMgr::drop_queued_keepalives()
{
    auto& records = block(Net::Prematch::kChannel).received;
    const auto keepAlive = [](const Net::ReceivedRecord& record) {
        const auto decoded = Net::DecodePrematch(record.payload);
        return decoded && decoded.record.kind == Net::Prematch::kKeepAlive;
    };
    for (const Net::ReceivedRecord& each : records) {
        if (keepAlive(each))
            block(Net::Prematch::kChannel).base_seq = each.seq;
    }
    records.erase(std::remove_if(records.begin(), records.end(), keepAlive), records.end());
}
