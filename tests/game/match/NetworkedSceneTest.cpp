// Under Xvfb: the networked set-up on each side, with the game's network
// manager on a fake socket and the test playing the peer.
#include "MatchScene.h"

#include "engine/net/NetTestSupport.h"
#include "game/components/ImmovableTile.h"
#include "game/match/LevelRecord.h"
#include "game/match/NetworkedScene.h"
#include "game/match/Palette.h"

#include <algorithm>

namespace {

using Engine::EntityHandle;
using NetTest::MakePacket;

glm::vec3 Position(EntityHandle entity) { return Engine::Transform::GetWorldPosition(entity); }
glm::vec3 Scale(EntityHandle entity) { return *Engine::Transform::ScalePtr(entity); }

template <class Bytes>
Net::PacketHeader HeaderOf(const Bytes& bytes)
{
    Net::Packet packet;
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), packet.Raw().size()), packet.Raw().begin());
    return packet.Header();
}

// A clock that runs a second further at every reading: a wait that never
// hears its peer reaches any time-out within a few readings.
struct RushingClock : Engine::Platform::IClock {
    RushingClock() { Engine::Platform::SetClock(this); }
    ~RushingClock() override { Engine::Platform::SetClock(nullptr); }
    std::uint64_t Counter() override { return seconds++; }
    std::uint64_t Frequency() override { return 1; }
    std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(seconds * 1000); }
    std::uint64_t seconds = 1000;
};

class NetworkedScene : public MatchScene {
protected:
    void SetUp() override
    {
        MatchScene::SetUp();
        Engine::Platform::SetUdpSocketFactory([this](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
            error = 0;
            return std::make_unique<NetTest::FakeSocket>(wire);
        });
    }
    void TearDown() override
    {
        StdoutOf([] { NetworkMgr::GetInstance().Disconnect(); });
        NetworkMgr::GetInstance().timed_out = 0;
        NetworkMgr::GetInstance().disconnecting = 0;
        Engine::Platform::SetUdpSocketFactory({});
        MatchScene::TearDown();
    }

    static NetworkMgr& Net() { return NetworkMgr::GetInstance(); }

    void Hear(const Net::Packet& packet, NetTest::Ipv4Endpoint from)
    {
        wire.inbox.push_back({{packet.Raw().begin(), packet.Raw().end()}, from});
        StdoutOf([] { Net().recv_everything(); });
    }

    // This side joined a host that answered.
    void JoinHost()
    {
        StdoutOf([] {
            ASSERT_TRUE(Net().client_init("127.0.0.1"));
            Net().connect();
        });
        Hear(MakePacket(Net::kSyn | Net::kAck, Net::kHandshakeType, NetworkMgr::kServerFirstSeq,
                        NetworkMgr::kClientFirstSeq),
             hostEnd);
        ASSERT_TRUE(Net().connected);
        wire.sent.clear();
    }

    // This side hosts a client that joined.
    void HostClient()
    {
        StdoutOf([] { ASSERT_TRUE(Net().server_init()); });
        Hear(MakePacket(Net::kSyn, Net::kHandshakeType, NetworkMgr::kClientFirstSeq), clientEnd);
        Hear(MakePacket(Net::kAck, Net::kHandshakeType, NetworkMgr::kClientFirstSeq, NetworkMgr::kServerFirstSeq),
             clientEnd);
        ASSERT_TRUE(Net().connected);
        wire.sent.clear();
    }

    // A host's record of the arena this process builds, with the host's
    // player where the test says.
    Net::LevelRecord HostRecord(std::uint32_t palette)
    {
        BuildMatch(1);
        Net::LevelRecord record{};
        GridCreation::CopySettings(record);
        LevelRecord::WritePlayers(record, {hostAt, hostScale, GameScene::kClientCopyStart, glm::vec3(1.0f)});
        auto settings = LevelRecord::Read(record);
        settings.record.paletteIndex = palette;
        LevelRecord::WriteArena(record, settings.record);
        hostImmovable = settings.record.immovableTiles;
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        return record;
    }

    bool BuildClient()
    {
        bool built = false;
        StderrOf([&built] { StdoutOf([&built] { built = GameScene::BuildClientSide(GameState::GetInstance()); }); });
        return built;
    }

    NetTest::FakeWire wire;
    const NetTest::Ipv4Endpoint hostEnd{0x7F000001, NetworkMgr::kDefaultPort};
    const NetTest::Ipv4Endpoint clientEnd{0x7F000002, 40000};
    const glm::vec3 hostAt{1.0f, -5.0f, 2.0f};
    const glm::vec3 hostScale{1.0f, 2.0f, 1.5f};
    std::vector<std::int32_t> hostImmovable;
};

TEST_F(NetworkedScene, TheClientBuildsTheHostsArenaInTheHostsPaletteWithTheHostsPlayerWhereItStands)
{
    const std::uint32_t hostPalette = static_cast<std::uint32_t>((PaletteIndex + 4) % 9);
    const Net::LevelRecord record = HostRecord(hostPalette);
    ASSERT_FALSE(hostImmovable.empty());
    GameScene::PlayerCount = 1;
    JoinHost();
    Hear(MakePacket(Net::kData, 0, NetworkMgr::kServerFirstSeq + 1, 0, 1, record), hostEnd);

    ASSERT_TRUE(BuildClient());
    EXPECT_EQ(PaletteIndex, static_cast<std::int32_t>(hostPalette)) << "the client's own draw is not kept";
    EXPECT_EQ(Net().menu_mode, 0);
    EXPECT_EQ(Net().setup_exchanged, 1);
    std::vector<std::int32_t> immovable = Grid().immovableTiles;
    std::sort(immovable.begin(), immovable.end());
    std::sort(hostImmovable.begin(), hostImmovable.end());
    EXPECT_EQ(immovable, hostImmovable);
    for (std::int32_t number : hostImmovable)
        EXPECT_NE(Find<ImmovableTile>(Grid().Tile(static_cast<std::uint64_t>(number))), nullptr) << number;

    ASSERT_EQ(Players().size(), 1u);
    ASSERT_EQ(Named("2 Player_Mouse").size(), 1u);
    ASSERT_EQ(Named("2 ball").size(), 1u);
    const EntityHandle me = Players().front();
    const EntityHandle peer = Named("2 Player_Mouse").front();
    EXPECT_EQ(Position(peer), hostAt);
    EXPECT_EQ(Scale(peer), hostScale);
    EXPECT_TRUE(Component(peer).mRemote);
    EXPECT_FALSE(Component(me).mRemote);
    // Each plays against the other's ball; both share the blank HUD.
    EXPECT_EQ(Component(peer).mOwnBall, Named("2 ball").front());
    EXPECT_EQ(Component(me).mOpponentBall, Named("2 ball").front());
    EXPECT_EQ(Component(peer).mOpponentBall, Component(me).mOwnBall);
    EXPECT_FALSE(Component(me).mSecondHud.IsNull());
    EXPECT_EQ(Component(me).mSecondHud, Component(peer).mSecondHud);
    EXPECT_EQ(Engine::SceneManager::GetState(), Engine::SceneManager::Active);
}

TEST_F(NetworkedScene, AHostileRecordIsRefusedAndTheClientGoesBackWithTheConnectionLost)
{
    Net::LevelRecord record = HostRecord(0);
    auto settings = LevelRecord::Read(record);
    settings.record.immovableTiles.push_back(100000);
    LevelRecord::WriteArena(record, settings.record);
    JoinHost();
    Hear(MakePacket(Net::kData, 0, NetworkMgr::kServerFirstSeq + 1, 0, 1, record), hostEnd);

    EXPECT_FALSE(BuildClient());
    EXPECT_EQ(Net().timed_out, 1);
    EXPECT_EQ(Net().connected, 0);
    EXPECT_TRUE(Named("2 Player_Mouse").empty());
    EXPECT_TRUE(Players().empty()) << "nothing is built from a refused record";
}

// The wait for the record lives only as long as the link: a host silent
// for longer than the time-out ends it, and so does a closed link.
TEST_F(NetworkedScene, TheClientsWaitForTheArenaEndsWithTheLink)
{
    JoinHost();
    Net::LevelRecord record{};
    {
        RushingClock clock;
        Net().last_receive_ns = Engine::Platform::NowNanoseconds();
        EXPECT_EQ(GameScene::WaitForLevelRecord(record), GameScene::LevelWait::LinkLost);
        EXPECT_GT(clock.seconds - 1000, 10u) << "not before the time-out";
        EXPECT_LT(clock.seconds - 1000, 20u);
    }
    // The silence closed the link, as the frame's own time-out would.
    EXPECT_FALSE(Net().connected);
    EXPECT_EQ(Net().timed_out, 1);

    JoinHost();
    Hear(MakePacket(Net::kFin, Net::kFinType, NetworkMgr::kServerFirstSeq + 1), hostEnd);
    ASSERT_FALSE(Net().connected);
    EXPECT_EQ(GameScene::WaitForLevelRecord(record), GameScene::LevelWait::LinkLost);

    // Nothing is built once the link broke, and the title will say why.
    JoinHost();
    Net().timeout = 0.0;
    EXPECT_FALSE(BuildClient());
    EXPECT_EQ(Net().timed_out, 1);
    Net().timeout = 10.0;

    JoinHost();
    Net().setup_exchanged = 1;
    EXPECT_EQ(GameScene::WaitForLevelRecord(record), GameScene::LevelWait::AlreadyExchanged);
}

// The client starts as soon as it sees both sides ready, but the host only
// once its own copy of the client's ready arrives: a ready lost on the way
// must go out again while the client waits, or both wait until the link
// times out.
TEST_F(NetworkedScene, WhileTheClientWaitsForTheArenaItsOwnRecordsAreResent)
{
    JoinHost();
    Net::Prematch ready;
    ready.kind = Net::Prematch::kState;
    ready.value = 0x0201;
    StdoutOf([&ready] { Net().send_type_10(ready); });
    ASSERT_EQ(wire.sent.size(), 1u);
    const std::uint32_t readySeq = HeaderOf(wire.sent.front().bytes).seq;
    Net::LevelRecord record{};
    {
        RushingClock clock;
        Net().last_receive_ns = Engine::Platform::NowNanoseconds();
        StdoutOf([&record] { EXPECT_EQ(GameScene::WaitForLevelRecord(record), GameScene::LevelWait::LinkLost); });
    }
    int resent = 0;
    for (const auto& each : wire.sent) {
        const Net::PacketHeader header = HeaderOf(each.bytes);
        resent += header.flags == Net::kResend && header.type == 10 && header.seq == readySeq;
    }
    EXPECT_GE(resent, 1) << "the ready went out once only";
}

TEST_F(NetworkedScene, TheHostSendsItsArenaOnceItsPlayerStandsAndPlacesTheClientsCopy)
{
    HostClient();
    GameScene::PlayerCount = 2;
    bool built = false;
    StderrOf([&built] { StdoutOf([&built] { built = GameScene::BuildServerSide(GameState::GetInstance()); }); });
    ASSERT_TRUE(built);
    EXPECT_EQ(GameScene::PlayerCount, 1) << "one player on each machine";
    EXPECT_EQ(Net().menu_mode, 0);
    ASSERT_EQ(Players().size(), 1u);

    std::vector<Net::Packet> levels;
    for (const auto& each : wire.sent) {
        Net::Packet packet;
        std::copy(each.bytes.begin(), each.bytes.end(), packet.Raw().begin());
        if (packet.Header().type == 0 && packet.Header().flags == Net::kData)
            levels.push_back(packet);
    }
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels.front().Header().needsAck, 1);
    Net::LevelRecord record{};
    std::copy_n(levels.front().Payload().begin(), record.size(), record.begin());
    const auto decoded = LevelRecord::Read(record);
    ASSERT_TRUE(decoded) << decoded.problem;
    EXPECT_EQ(decoded.record.paletteIndex, static_cast<std::uint32_t>(PaletteIndex));
    EXPECT_EQ(decoded.record.immovableTiles, Grid().immovableTiles);
    const EntityHandle me = Players().front();
    EXPECT_EQ(decoded.record.players.hostPosition, Position(me));
    EXPECT_EQ(decoded.record.players.hostScale, Scale(me));
    const float s = Grid().tileScale.x / 3.0f;
    EXPECT_EQ(decoded.record.players.clientPosition, glm::vec3(3.0f, 0.0f, 50.0f));
    EXPECT_EQ(decoded.record.players.clientScale, glm::vec3(s, 2.0f * s, s));

    ASSERT_EQ(Named("2 Player_Mouse").size(), 1u);
    const EntityHandle copy = Named("2 Player_Mouse").front();
    EXPECT_EQ(Position(copy), glm::vec3(3.0f, 0.0f, 50.0f));
    EXPECT_TRUE(Component(copy).mRemote);
    EXPECT_EQ(Component(copy).mOwnBall, Named("2 ball").front());
    EXPECT_EQ(Component(me).mOpponentBall, Named("2 ball").front());
    EXPECT_EQ(Component(copy).mOpponentBall, Named("ball").front());
    EXPECT_EQ(Component(copy).mSecondHud.IsNull(), false);

    // The client's acknowledgement completes the set-up.
    Hear(MakePacket(Net::kAck, 0, 200, levels.front().Header().seq), clientEnd);
    EXPECT_EQ(Net().setup_exchanged, 1);
}

} // namespace
