#include "engine/net/NetworkMgr.h"

#include "engine/platform/Clock.h"

#include <algorithm>
#include <cerrno>

using Engine::Platform::Ipv4Endpoint;
using Engine::Platform::ReceiveResult;

namespace {

// Payload bytes that each channel queues; channel 1 goes to latest_state.
constexpr std::array<std::size_t, Net::kChannelCount> kQueuedBytes{Net::kLevelRecordSize, Net::PlayerState::kSize,
    Net::TileBend::kSize, Net::Score::kSize, Net::GoalBallState::kSize, Net::PerkEffect::kSize,
    Net::ArenaEvent::kQueuedSize, Net::PerkObject::kSize, Net::Flow::kSize, Net::BallEffect::kSize,
    Net::Prematch::kSize};

constexpr const char* kDataAckFailed =
    "Error in process_packet() in send_ack(++m_info_other_end.seq_curr, seq, type) -> error code: ";
constexpr const char* kResendAckFailed =
    "Error in process_packet() in OLD_PACKET -> send_ack(++m_info_other_end.seq_curr, seq, type) -> error code: ";

bool IsQueuedChannel(std::int32_t type)
{
    return type >= 0 && type < Net::kChannelCount && type != Net::PlayerState::kChannel;
}

// The socket's buffer was full: to the peer that is a lost datagram, which
// the re-sends cover, not a broken link.
bool IsTransientSendError(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == ENOBUFS;
}

} // namespace

int NetworkMgr::send_packet(Net::Packet& packet, bool store)
{
    if (!socket) {
        if (!limited("send without socket"))
            Net::PrintMoreInfo("Sending the packet gave an error - in send_packet(), more info:", "no link is open");
        return 0;
    }
    const Net::PacketHeader header = packet.Header();
    const bool keep = store && header.needsAck && IsQueuedChannel(header.type);
    if (keep && block(header.type).pending.size() >= Net::ChannelBlock::kMaxPending) {
        Net::PrintLine("Too many unacknowledged packets on channel " + std::to_string(header.type)
            + " - in send_packet()");
        Disconnect();
        return 0;
    }
    if (!socket->SendTo(packet.Raw(), peer_address) && !IsTransientSendError(socket->LastError())) {
        last_error = socket->LastError();
        Net::PrintMoreInfo("Sending the packet gave an error - in send_packet(), more info:", get_error_text());
        // Told apart from a disconnect the player asked for.
        link_error = last_error;
        Disconnect();
        connected = 0;
        return 0;
    }
    sent_this_frame = 1;
    if (keep)
        block(header.type).pending.push_back({header.seq, packet, Engine::Platform::NowNanoseconds(), 0});
    return 1;
}

int NetworkMgr::send_ack(std::uint32_t seq, std::uint32_t ack, std::int32_t type)
{
    Net::Packet packet(Net::PacketHeader{Net::kAck, type, seq, ack, 0});
    return send_packet(packet, true);
}

int NetworkMgr::recv_everything()
{
    Net::Packet packet;
    for (int taken = 0; taken < kMaxDatagramsPerPoll; ++taken) {
        if (!socket)
            return 1;
        const ReceiveResult result = socket->ReceiveFrom(packet.Raw());
        if (result.status == ReceiveResult::Status::WouldBlock)
            return 1;
        if (result.status == ReceiveResult::Status::Failed) {
            last_error = result.error;
            Net::PrintMoreInfo("Error in receiving - in recv_everything(), more info:", get_error_text());
            return 0;
        }
        if (result.size != Net::kPacketSize) {
            if (!limited("wrong size"))
                Net::PrintMoreInfo("Error in receiving - in recv_everything(), more info:",
                    "dropped a datagram of " + std::to_string(result.size) + " bytes from "
                        + Engine::Platform::FormatEndpoint(result.from) + " (not 2520)");
            continue;
        }
        if (!accepts(result.from, packet.Header())) {
            if (!limited("stranger"))
                Net::PrintLine("Dropped a datagram from " + Engine::Platform::FormatEndpoint(result.from)
                    + ": not the peer - in recv_everything()");
            continue;
        }
        last_receive_ns = Engine::Platform::NowNanoseconds();
        process_packet(packet, result.from);
        packet.Raw().fill(0);
    }
    return 1;
}

bool NetworkMgr::accepts(const Ipv4Endpoint& from, const Net::PacketHeader& header) const
{
    if (connected || !server)
        return from == peer_address;
    // A waiting server answers any client's SYN and then hears only it.
    const bool syn = (header.flags & Net::kSyn) && !(header.flags & Net::kAck);
    return syn || (peer_adopted && from == peer_address);
}

void NetworkMgr::process_packet(const Net::Packet& packet, const Ipv4Endpoint& from)
{
    const Net::PacketHeader header = packet.Header();
    if (header.flags & Net::kSyn)
        on_syn(header, from);
    else if (header.flags & Net::kAck)
        on_ack(header);
    else if (header.flags & Net::kData)
        on_data(packet, header, false);
    else if (header.flags & Net::kResend)
        on_data(packet, header, true);
    else if (header.flags & Net::kFin) {
        connected = 0;
        Disconnect();
    }
}

void NetworkMgr::start_link(std::uint32_t peerFirstSeq)
{
    for (Net::ChannelBlock& each : channels) {
        each.base_seq = peerFirstSeq;
        each.received_seqs.Reset(peerFirstSeq);
        each.ack_numbers.Clear();
        each.received.clear();
    }
    newest_seqs.Clear();
}

void NetworkMgr::on_syn(const Net::PacketHeader& header, const Ipv4Endpoint& from)
{
    const bool synAck = header.flags & Net::kAck;
    if (!synAck && server) {
        // A repeated SYN once the link is up only gets its answer again:
        // resetting the numbers would make fresh records look like old ones.
        if (!connected) {
            peer_address = from;
            peer_adopted = true;
            start_link(header.seq);
            m_info_other_end.seq_curr = kServerFirstSeq;
        }
        const Net::PacketHeader synAck{Net::kSyn | Net::kAck, Net::kHandshakeType, kServerFirstSeq, header.seq, 0};
        Net::Packet answer(synAck);
        if (send_packet(answer, false) < 1)
            Net::PrintErrorCode("Error in process_packet() in send_anything(send_syn_ack) -> error code: ", 0);
        return;
    }
    if (!synAck || server || header.ack != kClientFirstSeq)
        return;
    const bool fresh = !handshake_done;
    if (fresh) {
        start_link(header.seq);
        handshake_done = 1;
        m_info_other_end.seq_curr = kClientFirstSeq;
    }
    Net::Packet finalAck(Net::PacketHeader{Net::kAck, Net::kHandshakeType, kClientFirstSeq, header.seq, 0});
    if (send_packet(finalAck, false) < 1) {
        Net::PrintErrorCode("Error in process_packet() in send_anything(send_ack) -> error code: ", 0);
        return;
    }
    if (fresh)
        connected = 1;
}

void NetworkMgr::on_ack(const Net::PacketHeader& header)
{
    // The client's final ACK ends the handshake; so does any later packet of
    // the client's, should that ACK have been lost.
    if (!connected && server && peer_adopted)
        connected = 1;
    if (header.type < 0 || header.type >= Net::kChannelCount)
        return;
    auto& pending = block(header.type).pending;
    const auto found = std::find_if(
        pending.begin(), pending.end(), [&](const Net::PendingPacket& each) { return each.seq == header.ack; });
    if (found == pending.end())
        return;
    pending.erase(found);
    if (header.type == Net::GoalBallState::kChannel && newest_spawn.seq == header.ack)
        newest_spawn.takenAt = header.seq;
    if (header.type == Net::kLevelChannel) {
        setup_exchanged = 1;
        resend_count = 0;
    }
}

void NetworkMgr::on_data(const Net::Packet& packet, const Net::PacketHeader& header, bool resend)
{
    if (!connected && server && peer_adopted)
        connected = 1;
    if (!connected)
        return;
    const std::int32_t type = header.type;
    if (resend && !IsQueuedChannel(type))
        return;
    bool acknowledge = header.needsAck != 0;
    if (type == Net::PlayerState::kChannel) {
        std::copy_n(packet.Payload().begin(), latest_state.size(), latest_state.begin());
    } else if (IsQueuedChannel(type)) {
        Net::ChannelBlock& target = block(type);
        if (!target.received_seqs.Seen(header.seq)) {
            if (target.received.size() >= Net::ChannelBlock::kMaxReceived) {
                // Unacknowledged, so the peer sends it again once there is room.
                if (!limited("queue full"))
                    Net::PrintLine("Channel " + std::to_string(type) + " queue full, a record waits for a re-send");
                return;
            }
            target.received_seqs.Mark(header.seq);
            const auto payload = packet.Payload().first(kQueuedBytes[static_cast<std::size_t>(type)]);
            const std::uint64_t now = Engine::Platform::NowNanoseconds();
            target.received.push_back({header.seq, {payload.begin(), payload.end()}, now});
        }
    }
    if (!acknowledge)
        return;
    if (send_ack(acknowledgement_number(type, header.seq), header.seq, type) < 1)
        Net::PrintErrorCode(resend ? kResendAckFailed : kDataAckFailed, 0);
}

// An acknowledgement sent again, for a record already taken, keeps the
// number it was first sent with: to the peer it is the same one, and its
// number tells which of this side's records were sent after the record was
// taken (the host learns so whether the client had the goal-ball spawn when
// it scored, even when the first acknowledgement was lost).
std::uint32_t NetworkMgr::acknowledgement_number(std::int32_t type, std::uint32_t recordSeq)
{
    if (!IsQueuedChannel(type))
        return ++m_info_other_end.seq_curr;
    Net::AckNumbers& numbers = block(type).ack_numbers;
    if (const std::optional<std::uint32_t> first = numbers.Find(recordSeq))
        return *first;
    const std::uint32_t number = ++m_info_other_end.seq_curr;
    numbers.Note(recordSeq, number);
    return number;
}

void NetworkMgr::check_resend()
{
    if (age_of(last_receive_ns) > timeout) {
        timed_out = 1;
        Disconnect();
        disconnecting = 0;
        return;
    }
    bool overdue = false;
    for (std::int32_t number = 0; number < Net::kChannelCount; ++number) {
        if (number == Net::PlayerState::kChannel)
            continue;
        if (!resend_due(block(number), number, overdue))
            return;
    }
    if (resend_count > max_resends || overdue) {
        Net::PrintLine("The peer acknowledged nothing after " + std::to_string(max_resends)
            + " re-sends - in check_resend()");
        Disconnect();
    }
}

// False when a re-send failed and the link is gone.
bool NetworkMgr::resend_due(Net::ChannelBlock& channelBlock, std::int32_t number, bool& overdue)
{
    for (std::size_t i = 0; i < channelBlock.pending.size(); ++i) {
        Net::PendingPacket& each = channelBlock.pending[i];
        if (age_of(each.sentNs) <= resend_interval)
            continue;
        each.packet.SetFlags(Net::kResend);
        each.sentNs = Engine::Platform::NowNanoseconds();
        ++each.resends;
        if (number == Net::kLevelChannel)
            ++resend_count;
        overdue = overdue || each.resends > max_resends;
        // Copied: a failing send empties the list under the reference.
        Net::Packet copy = each.packet;
        if (send_packet(copy, false) < 1)
            return false;
    }
    return true;
}

void NetworkMgr::update()
{
    receive_step();
    send_step();
}

void NetworkMgr::receive_step()
{
    if (!initialised || !connected)
        return;
    receive_and_serve();
}

void NetworkMgr::send_step()
{
    if (!initialised || !connected)
        return;
    send_and_resend();
}

void NetworkMgr::receive_and_serve()
{
    const std::uint64_t epoch = link_epoch;
    const auto linkUp = [&] { return link_epoch == epoch && connected; };
    const int received = recv_everything();
    if (received < 1)
        Net::PrintErrorCode("Error in update_network_mgr() in recv_everything() -> error code: ", received);
    if (!linkUp())
        return;
    if (menu_mode) {
        serve_prematch();
        return;
    }
    serve_flow();
    drop_queued_keepalives();
    if (flow_flags[kFreezeTraffic])
        return;
    if (linkUp() && recv_type_1() < 1 && !limited("recv_type_1"))
        Net::PrintErrorCode("Error in update_network_mgr() in recv_type_1() -> error code: ", 0);
    struct Receiver {
        int (NetworkMgr::*serve)();
        const char* failure;
    };
    static constexpr Receiver kReceivers[] = {
        {&NetworkMgr::recv_type_2, "Error in update_network_mgr() in recv_type_2() -> error code: "},
        {&NetworkMgr::recv_type_3, "Error in update_network_mgr() in recv_type_3() -> error code: "},
        {&NetworkMgr::recv_type_4, "Error in update_network_mgr() in recv_type_4() -> error code: "},
        {&NetworkMgr::recv_type_5, "Error in update_network_mgr() in recv_type_5() -> error code: "},
        {&NetworkMgr::recv_type_6, "Error in update_network_mgr() in recv_type_6() -> error code: "},
        {&NetworkMgr::recv_type_7, "Error in update_network_mgr() in recv_type_7() -> error code: "},
        {&NetworkMgr::recv_type_9, "Error in update_network_mgr() in recv_type_9() -> error code: "},
    };
    for (const Receiver& receiver : kReceivers) {
        if (!linkUp())
            return;
        const int result = (this->*receiver.serve)();
        if (result < 0 && !limited(receiver.failure))
            Net::PrintErrorCode(receiver.failure, result);
    }
}

void NetworkMgr::send_and_resend()
{
    const std::uint64_t epoch = link_epoch;
    const auto linkUp = [&] { return link_epoch == epoch && connected; };
    send_placed_records();
    if (!linkUp())
        return;
    if (!flow_flags[kFreezeTraffic] && !menu_mode) {
        const int sent = send_type_1();
        if (sent < 1 && !limited("send_type_1"))
            Net::PrintErrorCode("Error in update_network_mgr() in send_type_1() -> error code: ", sent);
        if (server && linkUp())
            send_goal_ball_state();
    }
    if (!linkUp())
        return;
    if (!sent_this_frame)
        send_type_10(Net::Prematch{Net::Prematch::kKeepAlive, 0});
    if (!linkUp())
        return;
    check_resend();
    sent_this_frame = 0;
}
