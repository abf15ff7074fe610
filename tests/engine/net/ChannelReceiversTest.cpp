#include "LinkFixture.h"

#include "engine/core/Transform.h"
#include "engine/net/BodyVelocity.h"
#include "engine/net/PrematchHandlerList.h"

#include <limits>
#include <functional>
#include <map>
#include <optional>

namespace {

using NetTest::CountHeard;
using NetTest::Journal;
using NetTest::Target;
using Engine::Transform::PositionRef;

std::map<std::uint32_t, glm::vec3> gVelocities;
glm::vec3* VelocityOf(Engine::EntityHandle entity)
{
    return &gVelocities[entity.GetIndex()];
}

// A connected server in play; the peer's records are taken in at once.
class Receivers : public LinkFixture {
protected:
    Receivers()
    {
        gVelocities.clear();
        Net::SetVelocityLookup(&VelocityOf);
        ConnectAsServer();
        net.menu_mode = 0;
    }
    ~Receivers() override { Net::SetVelocityLookup(nullptr); }

    template <class Record>
    void Receive(std::int32_t channel, const Record& record, std::uint8_t needsAck = 1)
    {
        FromPeer(Data(channel, ++clientSeq, record, needsAck));
        net.recv_everything();
    }
    std::uint32_t clientSeq = 100;
};

TEST_F(Receivers, ARecordWaitsForItsEntityBoundedAndIsNeverDeliveredTwice)
{
    Target seven("Tile_7");
    Receive(2, Net::TileBend{7, 2, {1, 2, 3}, 1});
    Receive(2, Net::TileBend{8, 0, {}, 0});
    Receive(2, Net::TileBend{7, 3, {}, 0});
    EXPECT_EQ(net.recv_type_2(), -1);
    ASSERT_EQ(Journal().size(), 1u);
    const auto bytes = Net::Encode(Net::TileBend{7, 2, {1, 2, 3}, 1});
    EXPECT_EQ(Journal()[0].payload, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    Target eight("Tile_8");
    EXPECT_EQ(net.recv_type_2(), 1);
    EXPECT_EQ(CountHeard(seven.entity, 0), 2u);
    EXPECT_EQ(CountHeard(eight.entity, 0), 1u);

    // Crashing tiles go to all three tiles or, while one is missing, to none.
    Receive(6, Net::ArenaEvent{Net::ArenaEvent::kCrashingTiles, 0, {7, 8, 9}});
    EXPECT_EQ(net.recv_type_6(), -1);
    EXPECT_EQ(CountHeard(seven.entity, 4), 0u);
    // A tile that never appears is given up after a bounded wait.
    clock.Advance(NetworkMgr::kTargetWaitSeconds);
    EXPECT_EQ(net.recv_type_6(), -1);
    clock.nanoseconds += 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(net.recv_type_6(), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("no entity named \"Tile_9\""), std::string::npos);
    EXPECT_TRUE(net.channel(6).received.empty());
}

// The peer's ball spends the goal ball here too in the frame it touches
// it, so the peer's goal may find none: it counts all the same. It waits
// only for the two players it tells.
TEST_F(Receivers, AGoalDestroysTheGoalBallWhenThereIsOneAndCountsEitherWay)
{
    Target local("Player_Mouse");
    Receive(3, Net::Score{4, Net::Score::kGoal});
    EXPECT_EQ(net.recv_type_3(), -1);
    EXPECT_TRUE(Journal().empty());
    Target remote("2 Player_Mouse");
    Target goalBall("GoalBall");
    EXPECT_EQ(net.recv_type_3(), 1);
    ASSERT_EQ(Journal().size(), 2u);
    EXPECT_TRUE(Journal()[0].entity == local.entity && Journal()[1].entity == remote.entity);
    Engine::EntityMgr::GetInstance().Flush();
    EXPECT_FALSE(Engine::EntityMgr::GetInstance().IsInUse(goalBall.entity.GetIndex()));

    Journal().clear();
    Receive(3, Net::Score{5, Net::Score::kGoal});
    EXPECT_EQ(net.recv_type_3(), 1);
    EXPECT_EQ(Journal().size(), 2u) << "the goal ball already gone here";
}

// The host spawns a new goal ball while the client scores on the old one.
// The host spares the new one for a goal the client sent before its
// acknowledgement of the spawn (it scored before it had it), whichever of
// the two arrives first; the client spares its goal ball for a goal the
// host sent before the spawn taken last.
TEST_F(Receivers, AGoalOnTheGoalBallBeforeTheNewestSpawnLeavesTheNewOne)
{
    Target local("Player_Mouse");
    Target remote("2 Player_Mouse");
    const auto goalSpares = [&](std::uint32_t seq) {
        Target goalBall("GoalBall");
        FromPeer(Data(3, seq, Net::Score{1, Net::Score::kGoal}));
        net.recv_everything();
        EXPECT_EQ(net.recv_type_3(), 1);
        EXPECT_EQ(CountHeard(remote.entity, 1), 1u) << "the goal counts all the same";
        Journal().clear();
        return !Engine::EntityMgr::GetInstance().IsQueuedForDestruction(goalBall.entity);
    };
    const Net::GoalBallState spawned{Net::GoalBallState::kSpawned, {}, {}};
    net.send_type_4(spawned);
    const std::uint32_t spawn = TakeSent(4).at(0).seq;
    EXPECT_TRUE(goalSpares(101)) << "host: the spawn still unacknowledged";
    FromPeer(NetTest::MakePacket(Net::kAck, 4, 103, spawn));
    net.recv_everything();
    EXPECT_TRUE(goalSpares(102)) << "host: the goal was sent before the acknowledgement, which overtook it";
    EXPECT_FALSE(goalSpares(104)) << "host: the client had the spawn";

    // Of the goals spared before the acknowledgement, the newest tells
    // whether the client had the spawn when it last scored.
    net.send_type_4(spawned);
    const std::uint32_t respawn = TakeSent(4).at(0).seq;
    EXPECT_TRUE(goalSpares(105));
    EXPECT_TRUE(goalSpares(107));
    {
        Target goalBall("GoalBall");
        FromPeer(NetTest::MakePacket(Net::kAck, 4, 106, respawn));
        net.recv_everything();
        net.recv_type_3();
        EXPECT_TRUE(Engine::EntityMgr::GetInstance().IsQueuedForDestruction(goalBall.entity))
            << "host: goal 107 was scored on the new ball";
    }

    net.Disconnect();
    ConnectAsClient();
    net.menu_mode = 0;
    FromPeer(Data(4, 2001, spawned));
    net.recv_everything();
    EXPECT_EQ(net.recv_type_4(), 1);
    EXPECT_TRUE(goalSpares(2000)) << "client: the goal was sent before the spawn";
    EXPECT_FALSE(goalSpares(2002)) << "client: the goal was sent after it";
}

// A host and a client linked through fake sockets, in play. The two share
// this process's entities, so each machine's goal ball is made for its own
// frames only: a machine has one when it kept it through its last frame or
// took the host's spawn in it.
class GoalBallOnTwoMachines : public ::testing::Test {
protected:
    struct Machine {
        NetworkMgr net;
        NetTest::FakeWire wire;
        NetTest::Ipv4Endpoint end;
        bool goalBall = false;
    };

    GoalBallOnTwoMachines()
    {
        Engine::Platform::SetUdpSocketFactory([this](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
            error = 0;
            return std::make_unique<NetTest::FakeSocket>(opening->wire);
        });
        Journal().clear();
        testing::internal::CaptureStdout();
        opening = &host;
        EXPECT_TRUE(host.net.server_init());
        opening = &client;
        EXPECT_TRUE(client.net.client_init("127.0.0.1"));
        client.net.connect();
        Carry(client, host);
        host.net.listen();
        Carry(host, client);
        EXPECT_TRUE(client.net.connect());
        Carry(client, host);
        EXPECT_TRUE(host.net.listen());
        testing::internal::GetCapturedStdout();
        host.net.menu_mode = client.net.menu_mode = 0;
    }
    ~GoalBallOnTwoMachines() override { Engine::Platform::SetUdpSocketFactory({}); }

    // What `from` sent goes to the other machine, but for what `keep` holds
    // back.
    using Keep = std::function<bool(const Net::PacketHeader&)>;
    void Carry(Machine& from, Machine& to, const Keep& keep = {})
    {
        for (NetTest::FakeWire::Datagram& each : from.wire.sent) {
            Net::Packet packet;
            std::copy(each.bytes.begin(), each.bytes.end(), packet.Raw().begin());
            if (keep && keep(packet.Header()))
                held.push_back({std::move(each.bytes), from.end});
            else
                to.wire.inbox.push_back({std::move(each.bytes), from.end});
        }
        from.wire.sent.clear();
    }

    void Frame(Machine& machine)
    {
        std::optional<Target> goalBall;
        if (machine.goalBall)
            goalBall.emplace("GoalBall");
        Journal().clear();
        machine.net.update();
        const bool spent = goalBall && Engine::EntityMgr::GetInstance().IsQueuedForDestruction(goalBall->entity);
        machine.goalBall = (machine.goalBall && !spent) || CountHeard(local.entity, Engine::NetworkingEvent::kGoalBall);
    }

    // Two seconds of frames of both: long enough for every re-send due to
    // go out and be answered.
    void Settle()
    {
        for (int frame = 0; frame < 120; ++frame) {
            clock.Advance(1.0 / 60.0);
            Frame(host);
            Carry(host, client);
            Frame(client);
            Carry(client, host);
        }
    }

    NetTest::ManualClock clock;
    Machine host{{}, {}, {0x7F000001, NetworkMgr::kDefaultPort}};
    Machine client{{}, {}, {0x7F000002, 40000}};
    Machine* opening = nullptr;
    std::vector<NetTest::FakeWire::Datagram> held;
    Target local{"Player_Mouse"}, remote{"2 Player_Mouse"}, ball{"ball"}, remoteBall{"2 ball"};
};

// The host spares its new goal ball for a goal the client scored before it
// had the spawn. An acknowledgement of the spawn lost, or overtaken by the
// goal, must not pass for that: the client spent the new ball.
TEST_F(GoalBallOnTwoMachines, TheyAgreeOnTheGoalBallWhateverBecomesOfTheSpawnsAcknowledgement)
{
    const auto spawnAcknowledgement = [](const Net::PacketHeader& header) {
        return header.flags == Net::kAck && header.type == 4;
    };
    enum class Case { AcknowledgementLost, AcknowledgementLate, SpawnLate };
    for (const Case what : {Case::AcknowledgementLost, Case::AcknowledgementLate, Case::SpawnLate}) {
        SCOPED_TRACE(static_cast<int>(what));
        // The old goal ball is out on both, or none is.
        host.goalBall = client.goalBall = what == Case::SpawnLate;
        held.clear();
        host.net.send_type_4(Net::GoalBallState{Net::GoalBallState::kSpawned, {}, {}});
        host.goalBall = true;
        Carry(host, client, [&](const Net::PacketHeader&) { return what == Case::SpawnLate; });
        Frame(client);
        Carry(client, host, spawnAcknowledgement);
        if (what == Case::AcknowledgementLost)
            held.clear();
        Frame(host);

        // The client scores on the goal ball it has.
        ASSERT_TRUE(client.goalBall);
        client.goalBall = false;
        client.net.send_type_3(Net::Score{1, Net::Score::kGoal});
        Carry(client, host);
        Frame(host);
        for (NetTest::FakeWire::Datagram& each : held)
            (what == Case::SpawnLate ? client : host).wire.inbox.push_back(std::move(each));
        held.clear();
        Settle();
        EXPECT_EQ(host.goalBall, client.goalBall);
        EXPECT_EQ(client.goalBall, what == Case::SpawnLate) << "the spawn came after the goal";
        EXPECT_TRUE(host.net.channel(4).pending.empty() && client.net.channel(3).pending.empty());
    }
}

TEST_F(Receivers, GoalBallStatesKeepTheNewestAndNeverHoldUpTheSpawn)
{
    Target local("Player_Mouse");
    Receive(4, Net::GoalBallState{0, {9, 9, 9}, {}}, 0); // before the ball exists here
    Receive(4, Net::GoalBallState{1, {1, 2, 3}, {}});
    EXPECT_EQ(net.recv_type_4(), 1);
    EXPECT_EQ(CountHeard(local.entity, 2), 1u);
    EXPECT_EQ(TakeSent().size(), 1u); // only the spawn is acknowledged

    Target goalBall("GoalBall");
    FromPeer(Data(4, 104, Net::GoalBallState{0, {2, 0, 0}, {5, 0, 0}}, 0));
    FromPeer(Data(4, 103, Net::GoalBallState{0, {1, 0, 0}, {4, 0, 0}}, 0));
    net.recv_everything();
    EXPECT_EQ(net.recv_type_4(), 1);
    EXPECT_EQ(PositionRef(goalBall.entity), glm::vec3(2, 0, 0));
    EXPECT_EQ(*VelocityOf(goalBall.entity), glm::vec3(5, 0, 0));
}

TEST_F(Receivers, HostileRecordsAreDroppedAndTheGoodOnesAroundThemDelivered)
{
    Target tile("Tile_2");
    net.tile_count = 100;
    Receive(2, Net::TileBend{2, 0, {0, std::numeric_limits<float>::quiet_NaN(), 0}, 1});
    Receive(2, Net::TileBend{100, 0, {}, 1});
    Receive(2, Net::TileBend{2, 1, {}, 1});
    Receive(6, Net::ArenaEvent{5, 0, {}});
    testing::internal::CaptureStdout();
    EXPECT_EQ(net.recv_type_2(), 1);
    EXPECT_EQ(net.recv_type_6(), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Dropped a channel 2 record: a float is NaN or infinite"), std::string::npos);
    EXPECT_NE(out.find("Dropped a channel 2 record: tile number outside the grid"), std::string::npos);
    EXPECT_NE(out.find("Dropped a channel 6 record: unknown kind"), std::string::npos);
    ASSERT_EQ(Journal().size(), 1u);
    EXPECT_EQ(Journal()[0].payload[4], 1); // the good record's level
}

// A bend whose first sending was lost comes again after the tile's next
// bend went through; applied then, it would leave the tile at the older
// height for the rest of the match. Another tile's bend sent between the
// two still counts.
TEST_F(Receivers, ATileBendOvertakenOnTheWayIsNotApplied)
{
    Target seven("Tile_7");
    Target eight("Tile_8");
    FromPeer(Data(2, 103, Net::TileBend{7, 1, {}, 1}));
    net.recv_everything();
    EXPECT_EQ(net.recv_type_2(), 1);
    FromPeer(NetTest::MakePacket(Net::kResend, 2, 101, 0, 1, Net::Encode(Net::TileBend{7, 0, {}, 1})));
    FromPeer(NetTest::MakePacket(Net::kResend, 2, 102, 0, 1, Net::Encode(Net::TileBend{8, 0, {}, 1})));
    net.recv_everything();
    EXPECT_EQ(net.recv_type_2(), 1);
    EXPECT_EQ(CountHeard(seven.entity, 0), 1u) << "the older bend of tile 7 was applied after the newer";
    EXPECT_EQ(CountHeard(eight.entity, 0), 1u);
    EXPECT_EQ(TakeSent(2).size(), 3u) << "each sending is acknowledged, so the peer stops re-sending";
}

// A ball striking a tile ends its trail and starts a fresh one; an end whose
// first sending was lost comes after the start and would leave the peer's
// ball bare until its next contact (a start overtaking the end of the ball's
// flight, trailing the ball in the hand). A splash is no state: it counts
// whenever it comes.
TEST_F(Receivers, ABallTrailChangeOvertakenOnTheWayIsNotApplied)
{
    Target remoteBall("2 ball");
    FromPeer(Data(9, 103, Net::BallEffect{1, {}, 1, {}}));
    net.recv_everything();
    EXPECT_EQ(net.recv_type_9(), 1);
    FromPeer(NetTest::MakePacket(Net::kResend, 9, 102, 0, 1, Net::Encode(Net::BallEffect{1, {}, 0, {}})));
    FromPeer(NetTest::MakePacket(Net::kResend, 9, 101, 0, 1, Net::Encode(Net::BallEffect{0, {0, 1, 0}, 0, {}})));
    net.recv_everything();
    EXPECT_EQ(net.recv_type_9(), 1);
    ASSERT_EQ(CountHeard(remoteBall.entity, 6), 2u) << "the older trail end was applied after the start";
    EXPECT_EQ(Journal()[1].payload[0], 0) << "the splash";
    EXPECT_EQ(TakeSent(9).size(), 3u) << "each sending is acknowledged, so the peer stops re-sending";
}

TEST_F(Receivers, PlayerStateAppliesOnlyTheLatestPacketAndOnlyOnce)
{
    Target remote("2 Player_Mouse");
    Target remoteBall("2 ball");
    // Nothing came yet: nothing is applied.
    PositionRef(remote.entity) = {7, 7, 7};
    EXPECT_EQ(net.recv_type_1(), 1);
    EXPECT_EQ(PositionRef(remote.entity), glm::vec3(7, 7, 7));

    Net::PlayerState newer{{2, 0, 0}, {0, 3, 0}, {0, 0, 1}, {4, 5, 6}, {1, 1, 1}};
    Receive(1, Net::PlayerState{{1, 0, 0}}, 0);
    Receive(1, newer, 0);
    EXPECT_EQ(net.recv_type_1(), 1);
    EXPECT_EQ(PositionRef(remote.entity), newer.position);
    EXPECT_EQ(*VelocityOf(remote.entity), newer.velocity);
    EXPECT_EQ(PositionRef(remoteBall.entity), newer.ballPosition);
    PositionRef(remote.entity) = {};
    EXPECT_EQ(net.recv_type_1(), 1);
    EXPECT_EQ(PositionRef(remote.entity), glm::vec3(0));

    // A poisoned state is not applied.
    Receive(1, Net::PlayerState{{std::numeric_limits<float>::infinity(), 0, 0}}, 0);
    EXPECT_EQ(net.recv_type_1(), 1);
    EXPECT_EQ(PositionRef(remote.entity), glm::vec3(0));

    // The player faces the way a forward of any length points (a long one
    // would stretch its model and collision box as much), and keeps its way
    // when the forward is none.
    EXPECT_EQ(*Engine::Transform::ForwardPtr(remote.entity), newer.forward);
    for (const glm::vec3 forward : {glm::vec3(3e30f, 0.0f, -4e30f), glm::vec3(0.0f)}) {
        Receive(1, Net::PlayerState{{}, {}, forward}, 0);
        EXPECT_EQ(net.recv_type_1(), 1);
        const glm::vec3 facing = *Engine::Transform::ForwardPtr(remote.entity);
        EXPECT_NEAR(facing.x, 0.6f, 1e-6f);
        EXPECT_NEAR(facing.z, -0.8f, 1e-6f);
    }
}

TEST_F(Receivers, OnlyTheNewestFlowRecordActsAndALateOlderOneNot)
{
    net.setup_exchanged = 1;
    FromPeer(Data(8, 101, Net::Flow{1, 0, 0}));
    FromPeer(Data(8, 104, Net::Flow{0, 1, 0}));
    FromPeer(Data(8, 102, Net::Flow{0, 0, 1}));
    net.update();
    EXPECT_EQ(net.flow_flags, (std::array<std::uint8_t, 5>{0, 0, 0, 0, 1}));
    EXPECT_FALSE(net.setup_exchanged);
    FromPeer(Data(8, 103, Net::Flow{1, 0, 0}));
    net.update();
    EXPECT_EQ(net.flow_flags[NetworkMgr::kPeerPlayEnded], 0);

    // c starts over: flags after byte 0 and every queue cleared.
    net.send_type_2(Net::TileBend{});
    FromPeer(Data(8, 110, Net::Flow{0, 0, 1}));
    net.update();
    EXPECT_EQ(net.flow_flags, (std::array<std::uint8_t, 5>{1, 0, 0, 0, 0}));
    EXPECT_TRUE(net.channel(2).pending.empty());
}

std::vector<std::uint32_t> gPrematch;
std::vector<std::uint32_t> gPrematchKinds;
void TakePrematch(PrematchMessage* message)
{
    gPrematch.push_back(message->value);
    gPrematchKinds.push_back(message->kind);
    message->handled = true;
}
void NeverReached(PrematchMessage*)
{
    gPrematch.push_back(0xDEAD);
}

// The handler list outlives the test: each lobby test starts with none of
// its own and takes them away again.
struct FreshLobby {
    FreshLobby()
    {
        gPrematch.clear();
        gPrematchKinds.clear();
    }
    ~FreshLobby()
    {
        PrematchHandlerList::Remove(&TakePrematch);
        PrematchHandlerList::Remove(&NeverReached);
    }
};

TEST_F(Receivers, PrematchMessagesReachTheNewestHandlerOnlyInTheMenus)
{
    const FreshLobby lobby;
    PrematchHandlerList::AddOnce(&NeverReached);
    PrematchHandlerList::AddOnce(&TakePrematch);
    PrematchHandlerList::AddOnce(&TakePrematch);
    EXPECT_EQ(PrematchHandlerList::Size(), 2u);
    net.menu_mode = 1;
    // A state, an unknown kind, the lobby's start and back messages, a
    // state, a keep-alive.
    for (auto [kind, value] : {std::pair{0u, 0x0101u}, {7u, 5u}, {1u, 0u}, {2u, 0u}, {0u, 0x0201u}, {3u, 5u}})
        Receive(10, Net::Prematch{kind, value});
    testing::internal::CaptureStdout();
    net.update();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(gPrematch, (std::vector<std::uint32_t>{0x0101, 0, 0, 0x0201})); // the keep-alive reached no handler
    EXPECT_EQ(gPrematchKinds, (std::vector<std::uint32_t>{0, 1, 2, 0}));
    EXPECT_EQ(net.channel(10).base_seq, clientSeq); // yet it counts as taken
    EXPECT_TRUE(net.channel(10).received.empty());

    // In play the channel waits, but keep-alives are let go.
    net.menu_mode = 0;
    Receive(10, Net::Prematch{Net::Prematch::kKeepAlive, 0});
    Receive(10, Net::Prematch{Net::Prematch::kState, 0x0301});
    net.update();
    EXPECT_EQ(gPrematch.size(), 4u);
    EXPECT_EQ(net.channel(10).received.size(), 1u);
}

// The peer's lobby state goes out again and again as it changes; one whose
// first sending was lost arrives after the newer one and must not take the
// menus back a step.
TEST_F(Receivers, APrematchStateOvertakenOnTheWayIsNotHandedOn)
{
    const FreshLobby lobby;
    PrematchHandlerList::AddOnce(&TakePrematch);
    net.menu_mode = 1;
    FromPeer(Data(10, 101, Net::Prematch{Net::Prematch::kState, 0x0101}));
    FromPeer(Data(10, 103, Net::Prematch{Net::Prematch::kState, 0x0201}));
    testing::internal::CaptureStdout();
    net.update();
    FromPeer(Data(10, 102, Net::Prematch{Net::Prematch::kState, 0x0101}));
    FromPeer(Data(10, 104, Net::Prematch{Net::Prematch::kStartMatch, 0}));
    net.update();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(gPrematch, (std::vector<std::uint32_t>{0x0101, 0x0201, 0})) << "the late state reached the lobby";
}

// Ends the link from inside a delivery.
class Quitter : public Engine::LogicComp {
public:
    Quitter(Engine::EntityHandle entity, NetworkMgr& net) : mNet(net)
    {
        owner = entity;
        Engine::Subscribe<Engine::NetworkingEvent, Quitter>(this, &Quitter::OnNetwork);
    }
    ~Quitter() override { Engine::InstanceTypeEventDispatcher<Quitter>::GetInstance().RemoveInstance(this); }
    void OnNetwork(Engine::NetworkingEvent*) { mNet.Disconnect(); }

private:
    NetworkMgr& mNet;
};

TEST_F(Receivers, AHandlerMayEndTheLinkMidBatch)
{
    Target tile("Tile_1");
    Quitter quitter(tile.entity, net);
    for (int i = 0; i < 3; ++i)
        Receive(2, Net::TileBend{1, 0, {}, 1});
    net.update();
    EXPECT_FALSE(net.connected);
    EXPECT_EQ(CountHeard(tile.entity, 0), 1u);
    EXPECT_TRUE(net.channel(2).received.empty());
}

} // namespace
