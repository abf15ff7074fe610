// Under Xvfb: the networked set-up on each side, with the game's network
// manager on a fake socket and the test playing the peer.
#include "MatchScene.h"

#include "engine/net/NetTestSupport.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "game/arena/Palette.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/match/LevelRecord.h"
#include "game/match/NetworkedScene.h"

#include <algorithm>

namespace {

using Engine::EntityHandle;
using NetTest::MakePacket;

glm::vec3 WorldPositionOf(EntityHandle entity) { return Engine::Transform::GetWorldPosition(entity); }
glm::vec3 ScaleOf(EntityHandle entity) { return *Engine::Transform::ScalePtr(entity); }

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
        LevelRecord::WritePlayers(record, {hostAt, hostScale, ::NetworkedScene::kClientCopyStart, glm::vec3(1.0f)});
        auto settings = LevelRecord::Read(record);
        settings.record.paletteIndex = palette;
        LevelRecord::WriteArena(record, settings.record);
        hostImmovable = settings.record.immovableTiles;
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        return record;
    }

    // The client's set-up begun, and its first frame's step.
    ::NetworkedScene::ClientSetup BuildClient()
    {
        ::NetworkedScene::ClientSetup setup = ::NetworkedScene::ClientSetup::Waiting;
        StderrOf([&setup] {
            StdoutOf([&setup] {
                ::NetworkedScene::BeginClientSide(GameState::GetInstance());
                setup = ::NetworkedScene::StepClientSide(GameState::GetInstance());
            });
        });
        return setup;
    }

    // The peer's player reaches the score limit: whether this machine's view
    // shows "MedalLost" before the end of play is asked for.
    bool LocalViewShowsTheLossWhenThePeerWins()
    {
        Player_LogicComp& peer = Component(Named("2 Player_Mouse").front());
        peer.mScore = peer.mScoreLimit;
        const int view = Engine::CameraManager::GetInstance().GetCompPtr(Players().front())->mCameraIndex.value;
        for (int frame = 0; frame < 600 && !GameMode::EndRequested; ++frame) {
            Frame();
            for (const auto& [entity, hud] : Engine::HUDCompManager::GetInstance().GetComponents())
                if (hud.mTextureName.value == "MedalLost" && hud.mColor.value.a > 0.0f && hud.IsSeenBy(view))
                    return true;
        }
        return false;
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

    ASSERT_EQ(BuildClient(), ::NetworkedScene::ClientSetup::Built);
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
    EXPECT_EQ(WorldPositionOf(peer), hostAt);
    EXPECT_EQ(ScaleOf(peer), hostScale);
    EXPECT_TRUE(Component(peer).mRemote);
    EXPECT_FALSE(Component(me).mRemote);
    // Each plays against the other's ball; both share the blank HUD.
    EXPECT_EQ(Component(peer).mOwnBall, Named("2 ball").front());
    EXPECT_EQ(Component(me).mOpponentBall, Named("2 ball").front());
    EXPECT_EQ(Component(peer).mOpponentBall, Component(me).mOwnBall);
    EXPECT_FALSE(Component(me).mSecondHud.IsNull());
    EXPECT_EQ(Component(me).mSecondHud, Component(peer).mSecondHud);
    EXPECT_EQ(Engine::SceneManager::GetState(), Engine::SceneManager::Active);
    EXPECT_TRUE(LocalViewShowsTheLossWhenThePeerWins());
}

TEST_F(NetworkedScene, AHostileRecordIsRefusedAndTheClientGoesBackWithTheConnectionLost)
{
    Net::LevelRecord record = HostRecord(0);
    auto settings = LevelRecord::Read(record);
    settings.record.immovableTiles.push_back(100000);
    LevelRecord::WriteArena(record, settings.record);
    JoinHost();
    Hear(MakePacket(Net::kData, 0, NetworkMgr::kServerFirstSeq + 1, 0, 1, record), hostEnd);

    EXPECT_EQ(BuildClient(), ::NetworkedScene::ClientSetup::Failed);
    EXPECT_EQ(Net().timed_out, 1);
    EXPECT_EQ(Net().connected, 0);
    EXPECT_TRUE(Named("2 Player_Mouse").empty());
    EXPECT_TRUE(Players().empty()) << "nothing is built from a refused record";
}

// The client waits frame by frame, its link in the menus' mode, for as long
// as the link lives; a closed link ends the wait and the title will say
// why. A record taken before ends it with nothing built.
TEST_F(NetworkedScene, TheClientsWaitForTheArenaLastsAsLongAsTheLink)
{
    JoinHost();
    EXPECT_EQ(BuildClient(), ::NetworkedScene::ClientSetup::Waiting);
    EXPECT_EQ(Net().menu_mode, 1) << "nothing of a match not built yet is served";
    Hear(MakePacket(Net::kFin, Net::kFinType, NetworkMgr::kServerFirstSeq + 1), hostEnd);
    StderrOf([] { EXPECT_EQ(::NetworkedScene::StepClientSide(GameState::GetInstance()), ::NetworkedScene::ClientSetup::Failed); });
    EXPECT_EQ(Net().timed_out, 1);
    EXPECT_TRUE(Players().empty());

    JoinHost();
    Net().setup_exchanged = 1;
    EXPECT_EQ(BuildClient(), ::NetworkedScene::ClientSetup::Built);
    EXPECT_TRUE(Players().empty());
}

TEST_F(NetworkedScene, TheHostSendsItsArenaOnceItsPlayerStandsAndPlacesTheClientsCopy)
{
    HostClient();
    GameScene::PlayerCount = 2;
    StderrOf([] { StdoutOf([] { ::NetworkedScene::BuildServerSide(GameState::GetInstance()); }); });
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
    EXPECT_EQ(decoded.record.players.hostPosition, WorldPositionOf(me));
    EXPECT_EQ(decoded.record.players.hostScale, ScaleOf(me));
    const float s = Grid().tileScale.x / 3.0f;
    EXPECT_EQ(decoded.record.players.clientPosition, glm::vec3(3.0f, 0.0f, 50.0f));
    EXPECT_EQ(decoded.record.players.clientScale, glm::vec3(s, 2.0f * s, s));

    ASSERT_EQ(Named("2 Player_Mouse").size(), 1u);
    const EntityHandle copy = Named("2 Player_Mouse").front();
    EXPECT_EQ(WorldPositionOf(copy), glm::vec3(3.0f, 0.0f, 50.0f));
    EXPECT_TRUE(Component(copy).mRemote);
    EXPECT_EQ(Component(copy).mOwnBall, Named("2 ball").front());
    EXPECT_EQ(Component(me).mOpponentBall, Named("2 ball").front());
    EXPECT_EQ(Component(copy).mOpponentBall, Named("ball").front());
    EXPECT_EQ(Component(copy).mSecondHud.IsNull(), false);

    // The client's acknowledgement completes the set-up.
    Hear(MakePacket(Net::kAck, 0, 200, levels.front().Header().seq), clientEnd);
    EXPECT_EQ(Net().setup_exchanged, 1);
    EXPECT_TRUE(LocalViewShowsTheLossWhenThePeerWins());
}

// The host sees its peer's player: drawn in player 2's red where it stands
// before the host's view, and gone from the picture when it stands aside.
TEST_F(NetworkedScene, ThePeersPlayerIsDrawnInItsPlayersColour)
{
    HostClient();
    StderrOf([] { StdoutOf([] { ::NetworkedScene::BuildServerSide(GameState::GetInstance()); }); });
    ASSERT_EQ(Named("2 Player_Mouse").size(), 1u);
    const EntityHandle me = Players().front();
    const EntityHandle copy = Named("2 Player_Mouse").front();
    Engine::GameCamera& view = *Engine::CameraManager::GetInstance().GetCompPtr(me);
    const glm::vec3 eye(-20.0f, 0.0f, 0.0f);
    view.SetPosition(eye);
    view.SetTarget(eye + glm::vec3(1.0f, 0.0f, 0.0f));
    const auto redPixels = [&](const glm::vec3& copyAt) {
        Engine::Transform::SetWorldPosition(copy, copyAt);
        Engine::TransformCompManager::GetInstance().Update();
        Engine::Renderer::GetInstance().Render();
        int red = 0;
        for (int y = 0; y < 720; y += 4) {
            for (int x = 0; x < 1280; x += 4) {
                const std::array<int, 3> rgb = PixelAt(x, y);
                red += rgb[0] > 150 && rgb[1] < 60 && rgb[2] < 60;
            }
        }
        return red;
    };
    const int before = redPixels(eye + glm::vec3(8.0f, 0.0f, 0.0f));
    ASSERT_TRUE(SaveScreenshot("net-peer-before-host"));
    const int aside = redPixels(eye + glm::vec3(-8.0f, 0.0f, 0.0f));
    EXPECT_GT(before, aside + 200) << "red samples with the peer before the view: " << before << ", aside: " << aside;
}

} // namespace
