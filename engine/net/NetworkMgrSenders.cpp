#include "engine/net/NetworkMgr.h"

#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/net/BodyVelocity.h"
#include "engine/net/NamedEntities.h"

#include <algorithm>
#include <utility>

namespace {

glm::vec3 LocalPosition(Engine::EntityHandle entity)
{
    using Entries = Engine::TransformCompManager::Entries;
    const glm::vec3* position = Engine::TransformCompManager::GetInstance().ValuePtr(entity, &Entries::positions);
    return position ? *position : glm::vec3(0.0f);
}

glm::vec3 Forward(Engine::EntityHandle entity)
{
    const glm::vec3* forward = Engine::Transform::ForwardPtr(entity);
    return forward ? *forward : glm::vec3(0.0f);
}

} // namespace

int NetworkMgr::send_record(std::int32_t channel, std::span<const std::uint8_t> record, bool needsAck)
{
    Net::Packet packet(
        Net::PacketHeader{Net::kData, channel, ++m_info_other_end.seq_curr, 0, static_cast<std::uint8_t>(needsAck)});
    packet.SetPayload(record);
    return send_packet(packet, true);
}

int NetworkMgr::send_type_0(const Net::LevelRecord& record)
{
    return send_record(Net::kLevelChannel, record, true);
}

int NetworkMgr::send_type_1()
{
    const Engine::EntityHandle player = Net::Names::First(Net::Names::kLocalPlayer);
    const Engine::EntityHandle ball = Net::Names::First(Net::Names::kLocalBall);
    if (player.IsNull() || ball.IsNull())
        return 0;
    Net::PlayerState state;
    state.position = LocalPosition(player);
    state.velocity = Net::ReadVelocity(player);
    state.forward = Forward(player);
    state.ballPosition = Engine::Transform::GetWorldPosition(ball);
    state.ballVelocity = Net::ReadVelocity(ball);
    // No sequence number: only the newest state matters and none is re-sent.
    Net::Packet packet(Net::PacketHeader{Net::kData, Net::PlayerState::kChannel, 0, 0, 0});
    packet.SetPayload(Net::Encode(state));
    return send_packet(packet, true);
}

int NetworkMgr::send_type_2(const Net::TileBend& record)
{
    return send_record(Net::TileBend::kChannel, Net::Encode(record), true);
}

int NetworkMgr::send_type_3(const Net::Score& record)
{
    return send_record(Net::Score::kChannel, Net::Encode(record), true);
}

int NetworkMgr::send_type_4(const Net::GoalBallState& record)
{
    const bool spawn = record.kind != Net::GoalBallState::kPerFrame;
    const int sent = send_record(Net::GoalBallState::kChannel, Net::Encode(record), spawn);
    if (spawn && server)
        newest_spawn = {m_info_other_end.seq_curr, std::nullopt, std::nullopt};
    return sent;
}

int NetworkMgr::send_type_5(const Net::PerkEffect& record)
{
    return send_record(Net::PerkEffect::kChannel, Net::Encode(record), true);
}

void NetworkMgr::send_type_5_once_placed(Engine::EntityHandle player, const Net::PerkEffect& record)
{
    waiting_teleport = PlacedRecord{player, record};
}

void NetworkMgr::send_placed_records()
{
    const std::optional<PlacedRecord> waiting = std::exchange(waiting_teleport, std::nullopt);
    if (!waiting || !connected || !waiting->player.Exists())
        return;
    Net::PerkEffect record = waiting->record;
    record.target = Engine::Transform::GetWorldPosition(waiting->player);
    send_type_5(record);
}

int NetworkMgr::send_type_6(const Net::ArenaEvent& record)
{
    return send_record(Net::ArenaEvent::kChannel, Net::Encode(record), true);
}

int NetworkMgr::send_type_7(const Net::PerkObject& record)
{
    return send_record(Net::PerkObject::kChannel, Net::Encode(record), true);
}

int NetworkMgr::send_type_8(const Net::Flow& record)
{
    setup_exchanged = 0;
    return send_record(Net::Flow::kChannel, Net::Encode(record), true);
}

int NetworkMgr::send_type_9(const Net::BallEffect& record)
{
    return send_record(Net::BallEffect::kChannel, Net::Encode(record), true);
}

int NetworkMgr::send_type_10(const Net::Prematch& record)
{
    if (record.kind == Net::Prematch::kKeepAlive)
        forget_pending_keepalives();
    return send_record(Net::Prematch::kChannel, Net::Encode(record), true);
}

// A keep-alive only says "still here", and a new one goes out in every quiet
// frame: the newest replaces any still waiting for its acknowledgement. Kept
// all, a quiet peer would get every one of them again each re-send interval.
void NetworkMgr::forget_pending_keepalives()
{
    auto& pending = block(Net::Prematch::kChannel).pending;
    const auto keepAlive = [](const Net::PendingPacket& each) {
        const auto decoded = Net::DecodePrematch(each.packet.Payload().first(Net::Prematch::kSize));
        return decoded && decoded.record.kind == Net::Prematch::kKeepAlive;
    };
    pending.erase(std::remove_if(pending.begin(), pending.end(), keepAlive), pending.end());
}

void NetworkMgr::send_goal_ball_state()
{
    const Engine::EntityHandle goalBall = Net::Names::First(Net::Names::kGoalBall);
    if (goalBall.IsNull())
        return;
    Net::GoalBallState state;
    state.kind = Net::GoalBallState::kPerFrame;
    state.position = LocalPosition(goalBall);
    state.velocity = Net::ReadVelocity(goalBall);
    if (send_type_4(state) < 1 && !limited("send_type_4"))
        Net::PrintErrorCode("Error in update_network_mgr() in send_type_4() -> error code: ", 0);
}
