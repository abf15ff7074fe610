#include "LinkFixture.h"

#include "engine/core/Transform.h"

namespace {

using NetTest::MakePacket;

TEST_F(LinkFixture, ClientHandshakeStartsAt100AndTakesTheServersNumbers)
{
    const Net::Packet synAck = MakePacket(Net::kSyn | Net::kAck, Net::kHandshakeType, 1000, 100);
    ASSERT_TRUE(net.client_init("127.0.0.1"));
    // Nobody answers: one SYN per poll, and no time-out before the handshake.
    EXPECT_FALSE(net.connect());
    clock.Advance(60.0);
    net.update();
    // An answer from anyone but the server is none.
    Deliver(synAck, stranger);
    EXPECT_FALSE(net.connect());
    EXPECT_FALSE(net.timed_out);
    const Header syn{Net::kSyn, Net::kHandshakeType, 100, 0, 0};
    EXPECT_EQ(TakeSent(), (std::vector<Header>{syn, syn}));

    Deliver(synAck, serverEnd);
    EXPECT_TRUE(net.connect());
    EXPECT_EQ(TakeSent().back(), (Header{Net::kAck, Net::kHandshakeType, 100, 1000, 0}));
    for (std::int32_t channel : {0, 2, 10})
        EXPECT_EQ(net.channel(channel).base_seq, 1000u);
    net.send_type_2(Net::TileBend{});
    EXPECT_EQ(TakeSent().at(0).seq, 101u);

    // A repeated SYN+ACK gets the final ACK again; the numbers run on.
    Hear(synAck, serverEnd);
    net.send_type_2(Net::TileBend{});
    const auto sent = TakeSent();
    EXPECT_EQ(sent.at(0).flags, Net::kAck);
    EXPECT_EQ(sent.at(1).seq, 102u);
}

TEST_F(LinkFixture, ServerHandshakeAnswersFrom1000AndSurvivesALostFinalAck)
{
    ASSERT_TRUE(net.server_init());
    EXPECT_EQ(wire.bound, (NetTest::Ipv4Endpoint{0, 8008}));
    Deliver(MakePacket(Net::kSyn, Net::kHandshakeType, 100), clientEnd);
    EXPECT_FALSE(net.listen());
    EXPECT_EQ(TakeSent(), (std::vector<Header>{{Net::kSyn | Net::kAck, Net::kHandshakeType, 1000, 100, 0}}));
    EXPECT_EQ(net.channel(7).base_seq, 100u);

    // The final ACK is lost; the client's first keep-alive ends the handshake
    // and is queued and acknowledged like any record.
    Deliver(Data(10, 101, Net::Prematch{Net::Prematch::kKeepAlive, 0}), clientEnd);
    EXPECT_TRUE(net.listen());
    EXPECT_EQ(TakeSent(), (std::vector<Header>{{Net::kAck, 10, 1001, 101, 0}}));
    EXPECT_EQ(net.channel(10).received.size(), 1u);

    // A late duplicate SYN is answered without starting the numbers over; a
    // stranger's SYN is not answered at all.
    Deliver(MakePacket(Net::kSyn, Net::kHandshakeType, 100), clientEnd);
    Hear(MakePacket(Net::kSyn, Net::kHandshakeType, 100), stranger);
    net.send_type_3(Net::Score{});
    const auto sent = TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].seq, 1002u);
}

TEST_F(LinkFixture, UnacknowledgedRecordIsResentAtTheFirstAgeAboveTheInterval)
{
    ConnectAsServer();
    net.send_type_5(Net::PerkEffect{Net::PerkEffect::kShield});
    const std::uint32_t seq = TakeSent().at(0).seq;
    clock.Advance(0.2);
    net.update();
    EXPECT_TRUE(TakeSent(5).empty());
    clock.nanoseconds += 1;
    net.update();
    EXPECT_EQ(TakeSent(5), (std::vector<Header>{{Net::kResend, 5, seq, 0, 1}}));

    // An ACK of a number never sent changes nothing; the right one ends it.
    Hear(MakePacket(Net::kAck, 5, ++peerSeq, seq + 77));
    EXPECT_EQ(net.channel(5).pending.size(), 1u);
    Hear(MakePacket(Net::kAck, 5, ++peerSeq, seq));
    EXPECT_TRUE(net.channel(5).pending.empty());
}

TEST_F(LinkFixture, SilenceLongerThanTheTimeoutEndsTheLink)
{
    ConnectAsClient();
    clock.Advance(10.0);
    net.update();
    EXPECT_TRUE(net.connected);
    PeerAcks(TakeSent());
    net.recv_everything(); // the peer spoke: the silence starts again
    clock.Advance(10.0);
    net.update();
    EXPECT_TRUE(net.connected);
    clock.nanoseconds += 1;
    net.update();
    EXPECT_TRUE(net.timed_out && !net.connected && !net.initialised && !net.disconnecting);
    EXPECT_EQ(wire.openSockets, 0);
    EXPECT_EQ(TakeSent().back().flags, Net::kFin);
}

TEST_F(LinkFixture, The501stUnacknowledgedLevelRecordResendDropsTheLink)
{
    // The peer is alive and acknowledges keep-alives, never the level.
    const auto frameOf = [&](double seconds) {
        clock.Advance(seconds);
        net.update();
        const auto sent = TakeSent();
        PeerAcks(sent, 10);
        return std::count_if(sent.begin(), sent.end(), [](const Header& each) { return each.type == 0; });
    };
    const auto resendUnanswered = [&] { return frameOf(0.2001); };
    ConnectAsServer();
    // Two records a tenth of a second apart are re-sent in turn, never in the
    // same frame: the channel's count reaches 501 while each record has been
    // re-sent about 250 times.
    net.send_type_0(Net::LevelRecord{});
    clock.Advance(0.1);
    net.send_type_0(Net::LevelRecord{});
    TakeSent();
    int resends = 0;
    while (net.connected && resends < 600) {
        const auto now = frameOf(0.05);
        EXPECT_LE(now, 1);
        resends += now;
    }
    EXPECT_EQ(resends, 501);
    EXPECT_FALSE(net.connected || net.timed_out);

    // An acknowledgement starts the count over and marks the set-up sent.
    ConnectAsServer();
    net.send_type_0(Net::LevelRecord{});
    for (int i = 0; i < 400; ++i)
        resendUnanswered();
    Hear(MakePacket(Net::kAck, 0, ++peerSeq, 1001));
    EXPECT_EQ(net.resend_count, 0u);
    EXPECT_TRUE(net.setup_exchanged && net.connected);
}

TEST_F(LinkFixture, FinFromThePeerEndsTheLinkAndFromAStrangerNothing)
{
    ConnectAsServer();
    Hear(MakePacket(Net::kFin, Net::kFinType, 7), stranger);
    EXPECT_TRUE(net.connected);
    FromPeer(MakePacket(Net::kFin, Net::kFinType, 7));
    Hear(Data(2, 101, Net::TileBend{}));
    EXPECT_TRUE(!net.connected && !net.initialised && net.disconnecting);
    EXPECT_EQ(wire.openSockets, 0);
    EXPECT_EQ(wire.inbox.size(), 1u); // nothing after the FIN is read
    EXPECT_TRUE(TakeSent().empty());  // and no FIN goes back

    // A local Disconnect says goodbye once, with the current number.
    ConnectAsClient();
    net.Disconnect();
    net.Disconnect();
    EXPECT_EQ(TakeSent(), (std::vector<Header>{{Net::kFin, Net::kFinType, 100, 0, 0}}));
}

TEST_F(LinkFixture, KeepAliveGoesOutOnlyInAFrameWithNothingElse)
{
    ConnectAsClient();
    net.update();
    EXPECT_EQ(TakeSent(), (std::vector<Header>{{Net::kData, 10, 101, 0, 1}}));
    EXPECT_EQ(net.channel(10).pending.size(), 1u);

    // In play the per-frame state is traffic enough.
    NetTest::Target player("Player_Mouse");
    NetTest::Target ball("ball");
    net.menu_mode = 0;
    net.update();
    EXPECT_EQ(TakeSent(), (std::vector<Header>{{Net::kData, 1, 0, 0, 0}}));
}

// A peer that went quiet must not be flooded until the time-out: only the
// newest keep-alive waits for its acknowledgement, so the link sends one
// datagram a frame and then its FIN.
TEST_F(LinkFixture, ASilentPeerGetsOneKeepAliveAFrameThenTheFin)
{
    ConnectAsClient();
    constexpr double kFrame = 1.0 / 144.0;
    std::size_t sent = 0;
    std::size_t busiestFrame = 0;
    std::size_t mostPending = 0;
    int frames = 0;
    Header last{};
    while (net.connected && frames < 2000) {
        clock.Advance(kFrame);
        net.update();
        ++frames;
        const auto headers = TakeSent();
        sent += headers.size();
        busiestFrame = std::max<std::size_t>(busiestFrame, std::count_if(headers.begin(), headers.end(),
                                                 [](const Header& each) { return each.flags != Net::kFin; }));
        mostPending = std::max(mostPending, net.channel(10).pending.size());
        if (!headers.empty())
            last = headers.back();
    }
    EXPECT_TRUE(net.timed_out);
    EXPECT_NEAR(frames * kFrame, 10.0, 2 * kFrame);
    EXPECT_EQ(busiestFrame, 1u);
    EXPECT_LE(sent, static_cast<std::size_t>(frames) + 1);
    EXPECT_EQ(mostPending, 1u);
    EXPECT_EQ(last.flags, Net::kFin);

    // A keep-alive that did go unanswered for a while is re-sent, once per
    // interval, until a newer one replaces it.
    ConnectAsClient();
    net.update();
    const std::uint32_t first = TakeSent().at(0).seq;
    net.sent_this_frame = 1; // busy frames: no new keep-alive
    clock.Advance(0.25);
    net.update();
    EXPECT_EQ(TakeSent(10), (std::vector<Header>{{Net::kResend, 10, first, 0, 1}}));
    net.update();
    const auto next = TakeSent(10);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].flags, Net::kData);
    EXPECT_EQ(net.channel(10).pending.size(), 1u);
    EXPECT_EQ(net.channel(10).pending[0].seq, next[0].seq);
}

TEST_F(LinkFixture, DuplicatesAreAcknowledgedButQueuedOnceAndLateRecordsStillCount)
{
    ConnectAsServer();
    const Net::TileBend record{4, 1, {}, 1};
    auto resend = [&](std::uint32_t seq) {
        auto packet = Data(2, seq, record);
        packet.SetFlags(Net::kResend);
        return packet;
    };
    // A duplicate, a reordered one never seen, a re-send of a queued one, a
    // re-send never seen, and one older than the link.
    for (const auto& packet : {Data(2, 105, record), Data(2, 105, record), Data(2, 103, record), resend(103),
             resend(104), Data(2, 99, record)})
        FromPeer(packet);
    net.recv_everything();
    std::vector<std::uint32_t> queued;
    for (const auto& each : net.channel(2).received)
        queued.push_back(each.seq);
    EXPECT_EQ(queued, (std::vector<std::uint32_t>{105, 103, 104}));
    std::vector<std::uint32_t> acked;
    std::vector<std::uint32_t> numbers;
    for (const Header& each : TakeSent()) {
        acked.push_back(each.ack);
        numbers.push_back(each.seq);
    }
    EXPECT_EQ(acked, (std::vector<std::uint32_t>{105, 105, 103, 103, 104, 99}));
    // Sent again, an acknowledgement keeps the number it was first sent with.
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{1001, 1001, 1002, 1002, 1003, 1004}));

    // Emptied queues still know what they took.
    net.clear_queues();
    Hear(Data(2, 105, record));
    EXPECT_TRUE(net.channel(2).received.empty());
}

// The end of a match: what arrived is dropped, the end record and the final
// score still go out until the peer acknowledges them.
TEST_F(LinkFixture, ClearingWhatArrivedKeepsWhatAwaitsAcknowledgement)
{
    ConnectAsServer();
    FromPeer(Data(3, 101, Net::Score{1, 1}));
    net.recv_everything();
    ASSERT_EQ(net.channel(3).received.size(), 1u);
    ASSERT_EQ(net.send_type_3(Net::Score{2, 5}), 1);
    ASSERT_EQ(net.send_type_8(Net::Flow{1, 0, 0}), 1);
    net.clear_received_queues();
    EXPECT_TRUE(net.channel(3).received.empty());
    EXPECT_EQ(net.channel(3).pending.size(), 1u);
    EXPECT_EQ(net.channel(8).pending.size(), 1u);
}

TEST_F(LinkFixture, DatagramsOfTheWrongSizeAreSkippedAndTheRestRead)
{
    ConnectAsServer();
    for (std::size_t size : {100, 3000, 0})
        wire.inbox.push_back({std::vector<std::uint8_t>(size, 0xAB), clientEnd});
    FromPeer(Data(3, 101, Net::Score{1, 1}));
    testing::internal::CaptureStdout();
    EXPECT_EQ(net.recv_everything(), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find(
                  "Error in receiving - in recv_everything(), more info:\ndropped a datagram of 100 bytes"),
              std::string::npos);
    EXPECT_EQ(net.channel(3).received.size(), 1u);
    wire.failReceive = true;
    EXPECT_EQ(net.recv_everything(), 0);
    EXPECT_TRUE(net.connected);
}

TEST_F(LinkFixture, AFailedSendDropsTheLinkForGood)
{
    ASSERT_TRUE(net.client_init("127.0.0.1"));
    // The final ACK cannot go out: the link must not come up.
    wire.sendError = EPIPE;
    Hear(MakePacket(Net::kSyn | Net::kAck, Net::kHandshakeType, 1000, 100), serverEnd);
    EXPECT_TRUE(!net.connected && !net.initialised && net.disconnecting);

    // A full socket buffer is a lost datagram, not a broken link.
    wire.sendError = 0;
    ConnectAsClient();
    wire.sendError = EAGAIN;
    EXPECT_EQ(net.send_type_2(Net::TileBend{}), 1);
    EXPECT_TRUE(net.connected);
    EXPECT_EQ(net.channel(2).pending.size(), 1u);
}

TEST_F(LinkFixture, QueuesAndPendingListsAreBounded)
{
    ConnectAsServer();
    for (std::uint32_t seq = 101; seq <= 100 + Net::ChannelBlock::kMaxReceived + 5; ++seq)
        FromPeer(Data(9, seq, Net::BallEffect{}));
    net.recv_everything();
    EXPECT_EQ(net.channel(9).received.size(), Net::ChannelBlock::kMaxReceived);
    // Only what was queued is acknowledged; the rest comes again later.
    EXPECT_EQ(TakeSent().size(), Net::ChannelBlock::kMaxReceived);

    for (std::size_t i = 0; i < Net::ChannelBlock::kMaxPending; ++i)
        net.send_type_7(Net::PerkObject{});
    EXPECT_TRUE(net.connected);
    EXPECT_EQ(net.send_type_7(Net::PerkObject{}), 0);
    EXPECT_FALSE(net.connected);
}

TEST_F(LinkFixture, PerFrameStateCarriesThePlayerAndTheBallInWorldSpace)
{
    ConnectAsServer();
    net.menu_mode = 0;
    NetTest::Target player("Player_Mouse");
    NetTest::Target arena("arena");
    NetTest::Target ball("ball");
    // A teleport fired this frame ends its trail where the frame leaves the
    // player, after whatever moved it since.
    Net::PerkEffect teleport;
    teleport.subKind = Net::PerkEffect::kTeleport;
    net.send_type_5_once_placed(player.entity, teleport);
    Engine::Transform::PositionRef(player.entity) = {1, 2, 3};
    Engine::Transform::ForwardRef(player.entity) = {0, 0, -1};
    Engine::Transform::PositionRef(arena.entity) = {10, 0, 0};
    Engine::Transform::SetParent(ball.entity, arena.entity);
    Engine::Transform::PositionRef(ball.entity) = {1, 1, 1};
    net.update();
    ASSERT_EQ(wire.sent.size(), 2u);
    EXPECT_EQ(Net::DecodePerkEffect(std::span(wire.sent[0].bytes).subspan(Net::kHeaderSize)).record.target,
              glm::vec3(1, 2, 3));
    const auto state = Net::DecodePlayerState(std::span(wire.sent[1].bytes).subspan(Net::kHeaderSize)).record;
    EXPECT_EQ(state.position, glm::vec3(1, 2, 3));
    EXPECT_EQ(state.forward, glm::vec3(0, 0, -1));
    EXPECT_EQ(state.ballPosition, glm::vec3(11, 1, 1));
    EXPECT_EQ(state.velocity, glm::vec3(0)); // no body known
}

} // namespace
