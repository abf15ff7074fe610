// Under Xvfb: the title and lobby modes in the running engine.
#include "GameDriver.h"
#include "engine/audio/Emitter.h"
#include "engine/audio/SoundSystem.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/net/PrematchHandlerList.h"
#include "engine/render/CameraManager.h"
#include "game/arena/HexGrid.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/match/GameModifiers.h"
#include "game/match/GridCreation.h"
#include "game/match/LevelRecord.h"
#include "game/match/NetworkedScene.h"
#include "game/menus/MenuActions.h"
#include "game/menus/MenuFixture.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/PrematchState.h"
#include "game/menus/TutorialMenu.h"
#include "game/modes/LobbyMode.h"
#include "game/modes/TitleMode.h"
#include "support/FileText.h"

#include <AL/al.h>
#include <algorithm>
#include <cmath>

namespace {

class TitleScreen : public GameDriver {
protected:
    void SetUp() override
    {
        GameDriver::SetUp();
        GameMode::Pending = GameMode::Title;
        Step();
        ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
    }

    static Engine::UI::LayerStack& Stack() { return Engine::UI::LayerStack::GetInstance(); }
    static TitleMode::Background& Background() { return TitleMode::GetBackground(); }
    static glm::vec3 CameraPosition()
    {
        return Engine::CameraManager::GetInstance().GetCompPtr(TitleMode::MenuEntity())->mPos.value;
    }
    static glm::vec3 TilePosition(std::int32_t tile)
    {
        return Engine::Transform::PositionRef(HexGrid::GetInstance().Tile(static_cast<std::uint64_t>(tile)));
    }

};

TEST_F(TitleScreen, CameraCirclesTheArenaAndATileRisesEverySixSeconds)
{
    const HexGrid& grid = HexGrid::GetInstance();
    ASSERT_GT(grid.tiles.size(), 1000u);
    EXPECT_EQ(Stack().Size(), 1u);
    EXPECT_EQ(TopPage(), LayerCreator::kTitleLayer);
    EXPECT_TRUE(Engine::Renderer::GetInstance().blurPath);
    for (const auto& edge : grid.edgeTiles) {
        for (std::int32_t number : edge)
            ASSERT_NE(Engine::LogicManager::GetCompPtr<ImmovableTile>(grid.Tile(static_cast<std::uint64_t>(number))), nullptr);
    }

    // The orbit: radius 25 at height 0, a thousandth of a radian a frame,
    // once round and on.
    Background().angle = 6.2831855f - 0.0005f;
    Step();
    EXPECT_NEAR(glm::length(CameraPosition()), 25.0f, 1e-3f);
    EXPECT_NEAR(CameraPosition().z, -25.0f * 0.0005f, 1e-4f);
    Step();
    EXPECT_NEAR(Background().angle, 0.0005f + 0.001f, 1e-5f) << "wrapped";
    EXPECT_NEAR(CameraPosition().x, 25.0f, 1e-3f);
    EXPECT_FLOAT_EQ(CameraPosition().y, 0.0f);

    // A tile is chosen once the timer passes six seconds: never a border
    // tile, never one already risen; it rises 5 along its up in a second
    // and stays. (The arena's own rise into place is over by then.)
    Steps(200);
    const std::size_t usedBefore = Background().used.size();
    Background().tileTimer = 6.001f;
    Step();
    ASSERT_EQ(Background().used.size(), usedBefore + 1);
    const std::int32_t tile = Background().tile;
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<ImmovableTile>(HexGrid::GetInstance().Tile(tile)), nullptr);
    EXPECT_EQ(std::count(Background().used.begin(), Background().used.end(), tile), 1);
    const glm::vec3 from = Background().from;
    const glm::vec3 up = *Engine::Transform::UpPtr(HexGrid::GetInstance().Tile(tile));
    EXPECT_EQ(Background().to, from + 5.0f * up);
    Steps(70);
    EXPECT_LT(glm::length(TilePosition(tile) - (from + 5.0f * up)), 0.2f);
    Steps(200);
    EXPECT_EQ(Background().tile, tile) << "the next one waits six seconds";
    EXPECT_LT(glm::length(TilePosition(tile) - (from + 5.0f * up)), 0.2f) << "it stays risen";

    // With every tile used, none rises, and the camera goes on circling;
    // also when the one tile left is a border tile, which never rises.
    const std::int32_t border = grid.edgeTiles[0].front();
    Background().used.clear();
    for (std::size_t i = 0; i < grid.tiles.size(); ++i) {
        if (static_cast<std::int32_t>(i) != border)
            Background().used.push_back(static_cast<std::int32_t>(i));
    }
    Background().tileTimer = 6.5f;
    const float angle = Background().angle;
    Steps(10);
    EXPECT_EQ(Background().tile, tile);
    EXPECT_GT(Background().tileTimer, 6.5f);
    EXPECT_NEAR(Background().angle, angle + 0.01f, 1e-4f);
    EXPECT_LT(glm::length(TilePosition(tile) - (from + 5.0f * up)), 0.2f) << "the last one does not rise again";
}

// The opening plays once; the music after it loops for as long as the menus
// stay.
TEST_F(TitleScreen, OnceTheOpeningHasPlayedTheMenuMusicLoops)
{
    auto* system = dynamic_cast<SoundSystem*>(SoundSystem::GetInstance());
    ASSERT_NE(system, nullptr) << "no OpenAL device";
    const Engine::Emitter& music = *Engine::LogicManager::GetCompPtr<Engine::Emitter>(TitleMode::MenuEntity());
    const auto looping = [&](const char* name) {
        const Sound& sound = *music.GetSound(name);
        ALint loops = -1;
        if (sound.channel >= 0)
            alGetSourcei(system->GetChannel(static_cast<std::size_t>(sound.channel))->source, AL_LOOPING, &loops);
        return loops;
    };
    ASSERT_EQ(looping("Init"), AL_FALSE);
    alSourceStop(system->GetChannel(static_cast<std::size_t>(music.GetSound("Init")->channel))->source);
    Step();
    EXPECT_EQ(looping("Music"), AL_TRUE);
}

TEST_F(TitleScreen, ASecondVisitRegistersNothingTwiceAndF11RewritesTheSettings)
{
    Choose(2);
    GameMode::Request(GameMode::Title);
    Step();
    Step();
    EXPECT_EQ(Stack().Size(), 1u) << "a new visit starts from the title page alone";
    for (const MenuEvents::List* list : {&MenuEvents::ReturnToTitle, &MenuEvents::StartMatch, &MenuEvents::StartTutorial})
        EXPECT_EQ(list->size(), 1u);

    const bool fullscreen = Engine::Window::Main()->IsFullscreen();
    Press(SDL_SCANCODE_F11);
    EXPECT_NE(Engine::Window::Main()->IsFullscreen(), fullscreen);
    EXPECT_NE(ReadFileText(ConfigPath()).find(fullscreen ? "\"fullscreen\":false" : "\"fullscreen\":true"),
              std::string::npos);
    Press(SDL_SCANCODE_F11);
    EXPECT_EQ(Engine::Window::Main()->IsFullscreen(), fullscreen);
}

TEST_F(TitleScreen, TheArenaStaysForTheLobbyAndGoesWithTheTitleOtherwise)
{
    const auto live = [] { return Engine::LogicManager::GetInstance().Count(); };
    ASSERT_GT(live(), 1000u);
    GameMode::Pending = GameMode::Lobby;
    TitleMode::Shutdown();
    EXPECT_GT(live(), 1000u) << "the lobby's background";
    TitleMode::Init();
    // The program ends from the title: nothing of the scene is left over.
    GameMode::Pending = {};
    TitleMode::Shutdown();
    EXPECT_EQ(live(), 0u);
    EXPECT_EQ(Stack().Size(), 0u);
    GameMode::Current = {};
}

TEST_F(TitleScreen, ReturnsFromTutorialsNeverPileLayersUnderTheTitle)
{
    for (int visit = 0; visit < 3; ++visit) {
        Choose(97);
        ASSERT_EQ(TopPage(), LayerCreator::kTutorialLayer);
        Choose(116, SDL_SCANCODE_UP);
        EXPECT_EQ(LayerCreator::TutorialOverlayText(), 117u);
        EXPECT_EQ(GameMode::TutorialRow.textId, 116u);
        // The tutorial plays until its overlay's back button ends it.
        Step();
        ASSERT_TRUE(GameMode::IsCurrent(GameMode::Tutorial));
        StdoutOf([&] {
            Press(SDL_SCANCODE_RETURN);
            Steps(3);
        });
        ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
        EXPECT_EQ(Stack().Size(), 1u) << "visit " << visit;
        EXPECT_EQ(TopPage(), LayerCreator::kTitleLayer);
    }
}

// Both ends of a link in this process on 127.0.0.1: the game's manager and
// a second one, the peer, whose side the test plays by hand.
class LinkedTitle : public TitleScreen {
protected:
    void Link(bool gameHosts = true)
    {
        NetworkMgr& server = gameHosts ? NetworkMgr::GetInstance() : peer;
        NetworkMgr& client = gameHosts ? peer : NetworkMgr::GetInstance();
        server.port = 0;
        bool opened = false;
        StdoutOf([&] { opened = server.server_init(); });
        ASSERT_TRUE(opened);
        client.port = server.local_port();
        ASSERT_TRUE(client.client_init("127.0.0.1"));
        StdoutOf([&] {
            for (int i = 0; i < 200 && !(server.connected && client.connected); ++i) {
                client.connect();
                server.listen();
            }
        });
        ASSERT_TRUE(server.connected && client.connected);
    }
    void TearDown() override
    {
        StdoutOf([&] {
            peer.Disconnect();
            NetworkMgr::GetInstance().Disconnect();
        });
        // The next link's pre-match talk starts from nothing, as it does
        // after the play menu; a link made here skips that menu.
        LayerCreator::ResetPrematchState();
        TitleScreen::TearDown();
    }

    void PeerSends(std::uint32_t kind, LayerCreator::PrematchPair pair = {})
    {
        StdoutOf([&] { peer.send_type_10(Net::Prematch{kind, LayerCreator::ValueField(pair)}); });
    }
    // Whether the peer has heard this side's word to start the match.
    bool PeerHeardStart()
    {
        StdoutOf([&] { peer.recv_everything(); });
        for (const Net::ReceivedRecord& each : peer.channel(10).received)
            heardStart = heardStart || Net::DecodePrematch(each.payload).record.kind == Net::Prematch::kStartMatch;
        peer.clear_received_queues();
        return heardStart;
    }
    bool PeerHeardTheLinkClose()
    {
        StdoutOf([&] {
            for (int i = 0; i < 50 && !peer.disconnecting; ++i)
                peer.recv_everything();
        });
        return peer.disconnecting != 0;
    }
    // A step with the peer alive.
    void StepWithPeer()
    {
        PeerSends(Net::Prematch::kKeepAlive);
        StdoutOf([&] { Step(); });
    }

    NetworkMgr peer;
    bool heardStart = false;
};

TEST_F(LinkedTitle, AConnectionLeadsToTheLobbyWhosePeerMessagesSteerIt)
{
    Link();
    StdoutOf([&] { Steps(2); });
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Lobby));
    EXPECT_EQ(TopPage(), LayerCreator::kHostPrematchLayer);
    EXPECT_TRUE(PrematchHandlerList::Contains(&LobbyMode::OnNetworkEvent));
    EXPECT_TRUE(TitleMode::MenuEntity().IsValid()) << "the title's background goes on";
    const float angle = TitleMode::GetBackground().angle;
    Step();
    EXPECT_NEAR(TitleMode::GetBackground().angle, angle + 0.001f, 1e-5f);

    // Kind 0 is the peer's pre-match pair; a client's kind 1 does not start
    // the host.
    PrematchMessage state;
    state.kind = 0;
    state.value = LayerCreator::ValueField({2, 1});
    PrematchHandlerList::Raise(state);
    EXPECT_EQ(LayerCreator::RemotePrematch(), (LayerCreator::PrematchPair{2, 1}));
    PeerSends(Net::Prematch::kStartMatch);
    StdoutOf([&] { Steps(2); });
    EXPECT_TRUE(GameMode::IsCurrent(GameMode::Lobby)) << "the host decides when the match starts";

    // F11 does nothing here.
    const bool fullscreen = Engine::Window::Main()->IsFullscreen();
    Press(SDL_SCANCODE_F11);
    EXPECT_EQ(Engine::Window::Main()->IsFullscreen(), fullscreen);

    // Leaving: the link closes, the title comes back and registers the
    // match switch the lobby took away.
    StdoutOf([&] { Choose(16, SDL_SCANCODE_LEFT); });
    EXPECT_FALSE(NetworkMgr::GetInstance().connected);
    ASSERT_TRUE(RunUntil(GameMode::Title));
    EXPECT_FALSE(PrematchHandlerList::Contains(&LobbyMode::OnNetworkEvent));
    EXPECT_EQ(std::count(MenuEvents::StartMatch.begin(), MenuEvents::StartMatch.end(), &GameMode::SwitchToGameplay), 1);
}

TEST_F(LinkedTitle, APeerFallingSilentInTheLobbyShowsTheLostConnectionOnceOverTheTitle)
{
    Link();
    NetworkMgr& host = NetworkMgr::GetInstance();
    host.timeout = 0.1;
    StdoutOf([&] { Steps(2); });
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Lobby));
    StdoutOf([&] { ASSERT_TRUE(RunUntil(GameMode::Title)); });
    Step();
    EXPECT_EQ(TopPage(), LayerCreator::kConnectionLostLayer);
    EXPECT_EQ(Stack().Size(), 2u);
    EXPECT_EQ(Focused(), 38u);
    EXPECT_EQ(host.timed_out, 0);
    Steps(5);
    EXPECT_EQ(Stack().Size(), 2u) << "shown once";
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(TopPage(), LayerCreator::kTitleLayer);
    GameMode::Request(GameMode::Title);
    Step();
    EXPECT_EQ(Stack().Size(), 1u);
}

// The peer sends this side back with kind 2, or leaves (its FIN), in the
// frame that takes the host's ready (perks off: it starts the match at
// once): either way this side is at the title with the link closed, and
// stays there.
TEST_F(LinkedTitle, ThePeerSendingThisSideBackOrLeavingBringsItToTheTitleForGood)
{
    GameModifiers::GetPerks().EnablePerks.value = false;
    for (const bool leaves : {false, true}) {
        Link();
        StdoutOf([&] { Steps(2); });
        ASSERT_TRUE(GameMode::IsCurrent(GameMode::Lobby));
        PeerSends(Net::Prematch::kState, {2, 1});
        ASSERT_TRUE(FocusWithArrows(7));
        // The button acts in the update after the one its key went down in.
        held.insert(SDL_SCANCODE_RETURN);
        StdoutOf([&] { Step(); });
        held.erase(SDL_SCANCODE_RETURN);
        if (leaves)
            StdoutOf([&] { peer.Disconnect(); });
        else
            PeerSends(Net::Prematch::kBackToTitle);
        StdoutOf([&] { Step(); });
        EXPECT_TRUE(GameMode::Pending == GameMode::Title) << (leaves ? "the peer left" : "the peer sent it back");
        bool back = false;
        StdoutOf([&] { back = RunUntil(GameMode::Title); });
        ASSERT_TRUE(back) << (leaves ? "the peer left" : "the peer sent it back");
        EXPECT_FALSE(NetworkMgr::GetInstance().connected);
        StdoutOf([&] { Steps(3); });
        EXPECT_TRUE(GameMode::IsCurrent(GameMode::Title));
        EXPECT_EQ(TopPage(), LayerCreator::kTitleLayer);
        StdoutOf([&] { peer.Disconnect(); });
    }
}

// Only the host decides when the match starts, and says so: a ready
// withdrawn while the other side's is on its way ends with both sides in
// the match or both in the lobby. Here the game hosts and the peer is the
// client, who withdraws right after the host's ready.
TEST_F(LinkedTitle, TheHostsStartTakesAClientThatWithdrewAlong)
{
    GameModifiers::GetPerks().EnablePerks.value = true;
    Link();
    StdoutOf([&] { Steps(2); });
    StdoutOf([&] { Choose(7); });
    ASSERT_EQ(TopPage(), LayerCreator::kNetworkPerksLayer);
    PeerSends(Net::Prematch::kState, {1, 1});
    PeerSends(Net::Prematch::kState, {2, 1});
    StdoutOf([&] { Steps(2); });
    ASSERT_EQ(LayerCreator::RemotePrematch(), (LayerCreator::PrematchPair{2, 1}));
    EXPECT_FALSE(PeerHeardStart());

    StdoutOf([&] { Choose(14); });
    PeerSends(Net::Prematch::kState, {2, 0});
    bool started = false;
    StdoutOf([&] { started = RunUntil(GameMode::Gameplay); });
    EXPECT_TRUE(started);
    EXPECT_TRUE(PeerHeardStart()) << "the client starts on the host's word";
}

// The game joins the peer, who hosts and withdraws its ready right after
// the client's: neither starts. The host's word later starts the client,
// whose window lives on while the host's arena is on its way.
TEST_F(LinkedTitle, AClientStartsOnlyOnTheHostsWordAndWaitsForTheArenaFrameByFrame)
{
    // The link keeps the frames' time, however slow the machine: the peer
    // speaks before every step, a frame apart. (A frame that waited for the
    // arena would wait for good, and the suite's limit would name it.)
    Link(false);
    Net::LevelRecord arena{};
    GridCreation::CopySettings(arena);
    LevelRecord::WritePlayers(arena, {glm::vec3(1.0f, 0.0f, 2.0f), glm::vec3(1.0f), NetworkedScene::kClientCopyStart, glm::vec3(1.0f)});
    StepWithPeer();
    StepWithPeer();
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Lobby));
    PeerSends(Net::Prematch::kState, {1, 1});
    for (int i = 0; i < 50 && TopPage() != LayerCreator::kNetworkPerksLayer; ++i)
        StepWithPeer();
    ASSERT_EQ(TopPage(), LayerCreator::kNetworkPerksLayer);
    PeerSends(Net::Prematch::kState, {2, 1});
    StepWithPeer();
    StepWithPeer();

    StdoutOf([&] { Choose(14); });
    PeerSends(Net::Prematch::kState, {2, 0});
    for (int i = 0; i < 30; ++i)
        StepWithPeer();
    EXPECT_TRUE(GameMode::IsCurrent(GameMode::Lobby)) << "no start without the host's word";
    EXPECT_EQ(LayerCreator::LocalPrematch(), (LayerCreator::PrematchPair{2, 1}));

    PeerSends(Net::Prematch::kState, {2, 1});
    PeerSends(Net::Prematch::kStartMatch);
    for (int i = 0; i < 10 && !GameMode::IsCurrent(GameMode::Gameplay); ++i)
        StepWithPeer();
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Gameplay));
    // The host takes a while to send its arena; this side keeps stepping
    // and keeps talking to it.
    const std::uint64_t heardBefore = peer.last_receive_ns;
    for (int i = 0; i < 100; ++i) {
        StepWithPeer();
        StdoutOf([&] { peer.recv_everything(); });
    }
    EXPECT_TRUE(GameMode::IsCurrent(GameMode::Gameplay));
    EXPECT_TRUE(Net::Names::First(Net::Names::kRemotePlayer).IsNull()) << "no arena yet";
    EXPECT_GT(peer.last_receive_ns, heardBefore);
    StdoutOf([&] { peer.send_type_0(arena); });
    for (int i = 0; i < 10 && Net::Names::First(Net::Names::kRemotePlayer).IsNull(); ++i)
        StepWithPeer();
    EXPECT_FALSE(Net::Names::First(Net::Names::kRemotePlayer).IsNull()) << "the host's arena is built";
    EXPECT_TRUE(NetworkMgr::GetInstance().connected);
}

// A host that never sends its arena does not hold the client: the pause
// menu opens over the wait and quits it.
TEST_F(LinkedTitle, AClientWaitingForTheArenaQuitsFromThePauseMenu)
{
    Link(false);
    StdoutOf([&] { Steps(2); });
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Lobby));
    PeerSends(Net::Prematch::kStartMatch);
    StdoutOf([&] { ASSERT_TRUE(RunUntil(GameMode::Gameplay)); });
    ASSERT_TRUE(Net::Names::First(Net::Names::kRemotePlayer).IsNull()) << "no arena yet";
    StdoutOf([&] { Press(SDL_SCANCODE_ESCAPE); });
    ASSERT_EQ(TopPage(), "PauseMenu");
    StdoutOf([&] { Choose(1); });
    StdoutOf([&] { EXPECT_TRUE(RunUntil(GameMode::Title)); });
    EXPECT_FALSE(NetworkMgr::GetInstance().connected);
    EXPECT_EQ(TopPage(), LayerCreator::kTitleLayer);
    EXPECT_TRUE(PeerHeardTheLinkClose());
}

TEST_F(LinkedTitle, QuittingToTheTitleDisconnectsBeforeItAsks)
{
    Link();
    static bool connectedWhenAsked = true;
    MenuEvents::AddOnce(MenuEvents::ReturnToTitle,
                        [](MenuEventRecord&) { connectedWhenAsked = NetworkMgr::GetInstance().connected != 0; });
    StdoutOf([] { LayerCreator::QuitToTitle(); });
    EXPECT_FALSE(connectedWhenAsked);
    EXPECT_TRUE(PeerHeardTheLinkClose());
}

} // namespace
