// Two real endpoints over 127.0.0.1 through a lossy relay. Both managers
// share this process's entity world, so each gameplay channel is sent one
// way only and every record carries its own number for the count. Time is a
// manual clock moved a frame per step; loopback hands a datagram over within
// the step.
#include "LossyRelay.h"
#include "NetTestSupport.h"

#include "engine/core/Transform.h"
#include "engine/net/PrematchHandlerList.h"

#include <functional>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <tuple>

namespace {

using NetTest::Journal;
using NetTest::Target;
using Engine::Transform::PositionRef;

constexpr double kFrame = 1.0 / 144.0;
constexpr std::uint32_t kRecords = 40;
constexpr int kMaxFrames = 40000;

// Every pre-match message heard, with how often, and the states in the
// order they were heard.
std::map<std::uint32_t, int> gPrematchCounts;
std::vector<std::uint32_t> gStatesHeard;
void CountPrematch(PrematchMessage* message)
{
    ++gPrematchCounts[message->value];
    if (message->kind == Net::Prematch::kState)
        gStatesHeard.push_back(message->value);
}

class LossyLink : public ::testing::TestWithParam<double> {
protected:
    LossyLink()
    {
        Journal().clear();
        gPrematchCounts.clear();
        gStatesHeard.clear();
        PrematchHandlerList::AddOnce(&CountPrematch);
        server.bind_address = "127.0.0.1";
        server.port = 0;
        EXPECT_TRUE(server.server_init());
        relay = std::make_unique<NetTest::LossyRelay>(server.local_port(), GetParam(), 1234u);
        client.port = relay->ClientPort();
        EXPECT_TRUE(client.client_init("127.0.0.1"));
    }
    // The handler list outlives the test.
    ~LossyLink() override { PrematchHandlerList::Remove(&CountPrematch); }

    // One frame of both programs: the waiting screens poll until the link is
    // up, then the engine frame's network step runs.
    using Hook = std::function<void()>;
    void Frame(const Hook& beforeServer = {}, const Hook& afterServer = {})
    {
        clock.Advance(kFrame);
        client.connected ? client.update() : void(client.connect());
        relay->Pump();
        if (beforeServer)
            beforeServer();
        server.connected ? server.update() : void(server.listen());
        if (afterServer)
            afterServer();
        relay->Pump();
    }

    bool RunUntil(const std::function<bool()>& done, const Hook& beforeServer = {}, const Hook& afterServer = {})
    {
        for (int frame = 0; frame < kMaxFrames && !done(); ++frame)
            Frame(beforeServer, afterServer);
        return done();
    }

    // Nothing but keep-alives waits for an acknowledgement.
    static bool AllAcknowledged(const NetworkMgr& net)
    {
        for (std::int32_t channel = 0; channel < Net::kChannelCount; ++channel) {
            for (const auto& each : channel == 1 ? std::vector<Net::PendingPacket>{} : net.channel(channel).pending) {
                const auto kind = Net::DecodePrematch(each.packet.Payload()).record.kind;
                if (channel != 10 || kind != Net::Prematch::kKeepAlive)
                    return false;
            }
        }
        return true;
    }
    bool Linked() const { return client.connected && server.connected; }

    NetTest::ManualClock clock;
    NetworkMgr server;
    NetworkMgr client;
    std::unique_ptr<NetTest::LossyRelay> relay;
};

// (entity, code, record number) of every event heard, with how often.
std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, int> CountEvents()
{
    std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, int> counts;
    for (const auto& heard : Journal()) {
        const std::uint32_t numbers[] = {Net::DecodeTileBend(heard.payload).record.level,
            Net::DecodeScore(heard.payload).record.score,
            static_cast<std::uint32_t>(Net::DecodeGoalBallState(heard.payload).record.position.x),
            static_cast<std::uint32_t>(Net::DecodePerkEffect(heard.payload).record.scaleY),
            static_cast<std::uint32_t>(Net::DecodeArenaEvent(heard.payload).record.tiles[0]),
            static_cast<std::uint32_t>(Net::DecodePerkObject(heard.payload).record.position.x),
            static_cast<std::uint32_t>(Net::DecodeBallEffect(heard.payload).record.position.x)};
        ++counts[{heard.entity.GetIndex(), heard.code, numbers[heard.code]}];
    }
    return counts;
}

TEST_P(LossyLink, EveryReliableRecordArrivesExactlyOnceAndStateKeepsTheNewest)
{
    ASSERT_TRUE(RunUntil([&] { return Linked(); }));

    // In the menus: pre-match messages both ways and the level record.
    Net::LevelRecord level{};
    for (std::size_t i = 0; i < level.size(); ++i)
        level[i] = static_cast<std::uint8_t>(i * 7);
    server.send_type_0(level);
    // Each side's lobby state changes every frame; other messages go with it.
    const std::uint32_t newestStates[] = {0x10000 + kRecords - 1, 0x20000 + kRecords - 1};
    for (std::uint32_t i = 0; i < kRecords; ++i) {
        client.send_type_10(Net::Prematch{Net::Prematch::kState, 0x10000 + i});
        server.send_type_10(Net::Prematch{Net::Prematch::kState, 0x20000 + i});
        client.send_type_10(Net::Prematch{Net::Prematch::kStartMatch, 0x30000 + i});
        server.send_type_10(Net::Prematch{Net::Prematch::kBackToTitle, 0x40000 + i});
        Frame();
    }
    const auto others = [] {
        return std::count_if(gPrematchCounts.begin(), gPrematchCounts.end(),
            [](const auto& heard) { return heard.first >= 0x30000; });
    };
    int levelsTaken = 0;
    Net::LevelRecord received{};
    ASSERT_TRUE(RunUntil([&] {
        levelsTaken += client.recv_type_0(received);
        return others() == 2 * kRecords && gPrematchCounts.count(newestStates[0]) && gPrematchCounts.count(newestStates[1])
            && AllAcknowledged(server) && AllAcknowledged(client);
    })) << others() << " other messages heard";
    EXPECT_EQ(levelsTaken, 1);
    EXPECT_EQ(received, level);
    for (const auto& [value, count] : gPrematchCounts)
        EXPECT_EQ(count, 1) << std::hex << value;
    // A state overtaken on the way never takes its side back.
    for (const std::uint32_t side : {0x10000u, 0x20000u}) {
        std::uint32_t last = 0;
        for (const std::uint32_t state : gStatesHeard) {
            if ((state & 0xF0000u) != side)
                continue;
            EXPECT_GT(state, last) << std::hex << "after " << last;
            last = state;
        }
    }

    // In play: six channels from the client (bends of as many tiles and
    // splashes, so that each record counts however late it comes), the
    // goal-ball spawn from the server, and the per-frame states both ways.
    Target local("Player_Mouse"), remote("2 Player_Mouse"), ball("ball"), remoteBall("2 ball"), goalBall("GoalBall");
    std::vector<std::unique_ptr<Target>> tiles;
    for (int i = 0; i < 64; ++i)
        tiles.push_back(std::make_unique<Target>("Tile_" + std::to_string(i)));
    client.menu_mode = server.menu_mode = 0;
    for (std::uint32_t i = 0; i < kRecords; ++i) {
        const float n = static_cast<float>(i);
        const auto t = static_cast<std::int32_t>(i);
        client.send_type_2(Net::TileBend{i, i, {}, 1});
        client.send_type_3(Net::Score{i, Net::Score::kHit});
        client.send_type_5(Net::PerkEffect{Net::PerkEffect::kTeleport, {}, {}, n, 0.0f, {}});
        client.send_type_6(Net::ArenaEvent{Net::ArenaEvent::kCrashingTiles, 0, {t, t + 1, t + 2}});
        client.send_type_7(Net::PerkObject{i, Net::PerkObject::kTileEvent, {n, 0, 0}});
        client.send_type_9(Net::BallEffect{Net::BallEffect::kSplash, {}, 0, {n, 0, 0}});
        server.send_type_4(Net::GoalBallState{Net::GoalBallState::kSpawned, {n, 0, 0}, {}});
        Frame();
    }
    client.send_type_8(Net::Flow{0, 1, 0});

    // The server sends the goal ball where the test puts it each frame;
    // between two sends it holds a mark, so any value the client writes
    // into it shows, and those values may never go backwards.
    constexpr float kMark = -1.0f;
    float frameNumber = 0.0f;
    float lastApplied = kMark;
    float standing = 0.0f;
    const auto beforeServer = [&] {
        const float written = PositionRef(goalBall.entity).x;
        if (written != kMark) {
            EXPECT_GT(written, lastApplied);
            lastApplied = written;
        }
        PositionRef(goalBall.entity).x = ++frameNumber;
        PositionRef(local.entity).x = standing ? standing : frameNumber;
    };
    const auto afterServer = [&] { PositionRef(goalBall.entity).x = kMark; };
    const std::size_t expected = kRecords * 10;
    RunUntil([&] { return Journal().size() >= expected && AllAcknowledged(client) && AllAcknowledged(server); },
        beforeServer, afterServer);
    // The player stands still a while: the last state must get through.
    standing = frameNumber;
    RunUntil([&] { return frameNumber > standing + 300.0f; }, beforeServer, afterServer);

    ASSERT_TRUE(Linked());
    EXPECT_EQ(Journal().size(), expected);
    const auto counts = CountEvents();
    EXPECT_EQ(counts.size(), expected);
    for (const auto& [key, count] : counts)
        EXPECT_EQ(count, 1) << "code " << std::get<1>(key) << " record " << std::get<2>(key);
    EXPECT_EQ(server.flow_flags[NetworkMgr::kPeerFlowB], 1);
    EXPECT_EQ(PositionRef(remote.entity).x, standing);
    EXPECT_GT(lastApplied, 0.0f);
    EXPECT_GT(relay->lost, 0u);
}

INSTANTIATE_TEST_SUITE_P(Loss, LossyLink, ::testing::Values(0.1, 0.3, 0.5));

using PerfectLink = LossyLink;

TEST_P(PerfectLink, AThirdSenderCannotInjectCloseOrKeepTheLinkAlive)
{
    ASSERT_TRUE(RunUntil([&] { return Linked(); }));
    Target tile("Tile_1");
    int error = 0;
    auto stranger = Engine::Platform::PosixUdpSocket::Open(error);
    ASSERT_TRUE(stranger && stranger->Bind({0x7F000001, 0}));
    std::uint32_t seq = 50000;
    const auto send = [&](std::uint32_t flags, std::int32_t type, std::span<const std::uint8_t> payload) {
        const NetTest::Ipv4Endpoint to{0x7F000001, server.local_port()};
        stranger->SendTo(NetTest::MakePacket(flags, type, ++seq, 0, 1, payload).Raw(), to);
    };
    // Records with numbers the client never used, SYNs and a FIN.
    for (int i = 0; i < 20; ++i) {
        send(Net::kData, 2, Net::Encode(Net::TileBend{1, 0, {}, 1}));
        send(Net::kSyn, Net::kHandshakeType, {});
        Frame();
    }
    send(Net::kFin, Net::kFinType, {});
    Frame();
    EXPECT_TRUE(server.connected);
    EXPECT_TRUE(Journal().empty());

    // The client falls silent; the stranger keeps talking, to no avail.
    const double silentFrom = clock.Seconds();
    for (int frame = 0; server.connected && frame < 3000; ++frame) {
        clock.Advance(kFrame);
        send(Net::kAck, 10, {});
        send(Net::kData, 10, Net::Encode(Net::Prematch{Net::Prematch::kKeepAlive, 0}));
        server.update();
    }
    EXPECT_TRUE(server.timed_out);
    EXPECT_GT(clock.Seconds() - silentFrom, 10.0);
    EXPECT_LT(clock.Seconds() - silentFrom, 10.0 + 2 * kFrame);
}

TEST_P(PerfectLink, ABlackholedPeerTimesOutOnBothSidesAndThePortIsFreed)
{
    ASSERT_TRUE(RunUntil([&] { return Linked(); }));
    const std::uint16_t port = server.local_port();
    relay->blackhole = true;
    const double silentFrom = clock.Seconds();
    ASSERT_TRUE(RunUntil([&] { return !client.connected && !server.connected; }));
    EXPECT_TRUE(client.timed_out && server.timed_out);
    EXPECT_GT(clock.Seconds() - silentFrom, 10.0);
    EXPECT_LT(clock.Seconds() - silentFrom, 10.1);
    NetworkMgr next;
    next.bind_address = "127.0.0.1";
    next.port = port;
    EXPECT_TRUE(next.server_init());
}

INSTANTIATE_TEST_SUITE_P(NoLoss, PerfectLink, ::testing::Values(0.0));

} // namespace
