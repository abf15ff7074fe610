// What the peer's records do to a player, delivered as the network's
// receivers deliver them: a NetworkingEvent raised to the player's entity.
#include "game/components/FakeLink.h"
#include "game/components/PlayerScene.h"

#include "engine/frame/Core.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/BodyVelocity.h"
#include "engine/net/ChannelRecords.h"
#include "engine/platform/Clock.h"
#include "game/arena/ArenaRoom.h"
#include "game/components/tile/TileColumns.h"
#include "game/match/MatchHookAnswers.h"
#include "game/match/NetworkedScene.h"
#include "support/InsideABody.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

int gGoalBallsSpawned = 0;
int gGoalBallsRestarted = 0;
bool gGoalBallAlive = false;
int gFlips = 0;
std::vector<glm::vec3> gForcefields;
std::vector<std::pair<Engine::EntityHandle, glm::vec3>> gStunAreas;

class PlayerPeerEvents : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        gGoalBallsSpawned = gGoalBallsRestarted = 0;
        gGoalBallAlive = false;
        gFlips = 0;
        gForcefields.clear();
        gStunAreas.clear();
        PlayerHooks& hooks = PlayerHooks::Get();
        hooks.goalBallAlive = [] { return gGoalBallAlive; };
        hooks.spawnGoalBallQuietly = [] { ++gGoalBallsSpawned; };
        hooks.restartGoalBall = [] { ++gGoalBallsRestarted; };
        hooks.startArenaFlip = [] { ++gFlips; };
        hooks.spawnForcefield = [](Engine::EntityHandle owner, const glm::vec3& at) {
            EXPECT_TRUE(owner.IsNull()) << "the peer's forcefield has no owner here";
            gForcefields.push_back(at);
        };
        hooks.spawnStunArea = [](Engine::EntityHandle owner, const glm::vec3& at) { gStunAreas.emplace_back(owner, at); };
        local = SpawnStanding({-6.0f, 0.0f, 1.0f});
        remote = SpawnStanding({6.0f, 0.0f, 1.0f});
        Component(remote).mRemote = true;
        Engine::EntityNameCompManager::GetInstance().SetName(remote, "2 Player_Mouse");
    }

public:
    Engine::EntityHandle local;
    Engine::EntityHandle remote;
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST_F(PlayerPeerEvents, GoalsAndHitsMoveTheRightScore)
{
    Net::Score goal{4, Net::Score::kGoal};
    Net::Score hit{4, Net::Score::kHit};
    Deliver(local, 1, goal);
    EXPECT_EQ(Component(local).mScore, 0) << "a goal by the peer is not ours";
    Deliver(remote, 1, goal);
    EXPECT_EQ(Component(remote).mScore, 1);

    Deliver(local, 1, hit);
    EXPECT_TRUE(Component(local).mHurting) << "the peer's ball hit us";
    Deliver(remote, 1, hit);
    EXPECT_EQ(Component(remote).mScore, 2) << "the peer's player scores it";
    EXPECT_FALSE(Component(remote).mHurting);
}

TEST_F(PlayerPeerEvents, RecordsWithUnknownKindsOrNonFiniteValuesAreDropped)
{
    struct Case {
        const char* name;
        std::function<std::string(PlayerPeerEvents&)> deliver;
    };
    const Case cases[] = {
        {"a score of kind 7", [](PlayerPeerEvents& t) { return Deliver(t.remote, 1, Net::Score{4, 7}); }},
        {"an arena event of kind 9",
         [](PlayerPeerEvents& t) { return Deliver(t.local, 4, Net::ArenaEvent{9, 0, {}}); }},
        {"a forcefield at NaN",
         [](PlayerPeerEvents& t) {
             return Deliver(t.local, 5, Net::PerkObject{0, Net::PerkObject::kForcefield, {kNaN, 0.0f, 0.0f}});
         }},
        {"a perk object of kind 4",
         [](PlayerPeerEvents& t) { return Deliver(t.local, 5, Net::PerkObject{0, 4, {1.0f, 2.0f, 3.0f}}); }},
        {"a perk effect of sub-kind 9",
         [](PlayerPeerEvents& t) {
             Net::PerkEffect effect;
             effect.subKind = 9;
             return Deliver(t.remote, 3, effect);
         }},
    };
    for (const Case& test : cases) {
        const std::string printed = test.deliver(*this);
        EXPECT_NE(printed.find("[Player] Dropped the peer's message"), std::string::npos) << test.name << ": " << printed;
    }
    EXPECT_EQ(Component(remote).mScore, 0);
    EXPECT_TRUE(gForcefields.empty());
    EXPECT_EQ(gFlips, 0);

    // A player numbered outside the match hears nothing.
    Component(local).mPlayerNumber = 3;
    const std::string printed = Deliver(local, 1, Net::Score{1, Net::Score::kHit});
    EXPECT_NE(printed.find("neither number 1 nor 2"), std::string::npos);
    EXPECT_FALSE(Component(local).mHurting);
}

TEST_F(PlayerPeerEvents, ArenaEventsGoalBallsAndPerkObjectsReachTheirOwners)
{
    Deliver(local, 2, Net::GoalBallState{Net::GoalBallState::kSpawned, {}, {}});
    EXPECT_EQ(gGoalBallsSpawned, 1);
    gGoalBallAlive = true;
    Deliver(local, 2, Net::GoalBallState{Net::GoalBallState::kSpawned, {}, {}});
    EXPECT_EQ(gGoalBallsSpawned, 1) << "one goal ball at a time";
    EXPECT_EQ(gGoalBallsRestarted, 1) << "the one out waits with the host's new one";

    audio.calls.clear();
    Deliver(local, 4, Net::ArenaEvent{Net::ArenaEvent::kCoolDown, 1, {}});
    EXPECT_EQ(audio.CallsStartingWith("Play"), std::vector<std::string>{"Play data/Sounds/Sfx/EventCooldown.wav loop=0 overlap=0"});
    Deliver(local, 4, Net::ArenaEvent{Net::ArenaEvent::kFlip, 0, {}});
    EXPECT_EQ(gFlips, 1);
    Deliver(local, 4, Net::ArenaEvent{Net::ArenaEvent::kCrashingTiles, 0, {1, 2, 3}});
    EXPECT_EQ(gFlips, 1) << "crashing tiles are the tiles' business";

    Deliver(local, 5, Net::PerkObject{0, Net::PerkObject::kForcefield, {1.0f, 2.0f, 3.0f}});
    EXPECT_EQ(gForcefields, std::vector<glm::vec3>{glm::vec3(1.0f, 2.0f, 3.0f)});
    Deliver(local, 5, Net::PerkObject{0, Net::PerkObject::kStunArea, {4.0f, 5.0f, 6.0f}});
    ASSERT_EQ(gStunAreas.size(), 1u);
    EXPECT_EQ(gStunAreas[0].first, remote) << "owned by the peer's player";
    EXPECT_EQ(gStunAreas[0].second, glm::vec3(4.0f, 5.0f, 6.0f));

    // Without the peer's player there is no owner, and no stun area.
    Engine::EntityNameCompManager::GetInstance().SetName(remote, "Nobody");
    Deliver(local, 5, Net::PerkObject{0, Net::PerkObject::kStunArea, {4.0f, 5.0f, 6.0f}});
    EXPECT_EQ(gStunAreas.size(), 1u);
}

TEST_F(PlayerPeerEvents, AShutDownPlayerHearsNoMore)
{
    Player_LogicComp& component = Component(remote);
    component.Shutdown();
    Deliver(remote, 1, Net::Score{1, Net::Score::kGoal});
    EXPECT_EQ(component.mScore, 0);
}

// A local player with its ball on the floor beside a whole wall, and the
// peer's player and ball as the networked set-up builds them (the copy a third of a tile wide and twice as
// tall), linked through the tests' socket, on which the test plays the peer.
// Frames are the engine's own, drawing nothing, with the match's hold and
// physics rule installed.
class PeerOverTheLink : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        RoomOfAWholeArena(true);
        // Made first, the copy steps first in the physics, as it may in a
        // match (freed entities are reused in the order they were freed):
        // moved by its velocity into our player before their pair is tested.
        peer = Engine::EntityMgr::GetInstance().CreateEntity();
        local = SpawnStanding({-6.0f, 0.0f, 1.0f});
        ASSERT_LT(peer.GetIndex(), local.GetIndex());
        Engine::SceneManager::SetIdle();
        const float s = HexGrid::GetInstance().tileScale.x / 3.0f;
        NetworkedScene::CreatePlayerEntity(peer, {6.0f, Position(local).y, 1.0f}, {s, 2.0f * s, s},
                                           Net::Names::kRemotePlayer);
        const Engine::EntityHandle peerBall = GameScene::SpawnBall(peer);
        Engine::SetEntityName(peerBall, Net::Names::kRemoteBall);
        for (Engine::EntityHandle entity : {GameScene::SpawnBall(local), peer, peerBall}) {
            for (Engine::LogicComp* component : *Engine::LogicManager::GetInstance().FindComponents(entity))
                component->Initialize();
        }
        Engine::SceneManager::SetActive();
        link = std::make_unique<FakeLink>();
        NetworkMgr& network = NetworkMgr::GetInstance();
        network.connected = 1;
        network.menu_mode = 0;
        network.last_receive_ns = Engine::Platform::NowNanoseconds();
        FillHooksForMatch();
        // The engine's start hands the link the bodies' velocities.
        Net::SetVelocityLookup([](Engine::EntityHandle entity) -> glm::vec3* {
            Engine::CollisionComp* body = Engine::CollisionMgr::GetInstance().FindComp(entity);
            return body ? &body->mVelocity.value : nullptr;
        });
        Engine::Renderer::GetInstance().renderingEnabled = false;
        link->TakeSent(Net::PlayerState::kChannel);
    }
    void TearDown() override
    {
        Engine::Renderer::GetInstance().renderingEnabled = true;
        Net::SetVelocityLookup(nullptr);
        link.reset();
        PlayerScene::TearDown();
    }

    // The peer's state of its player, facing along x: heard in the next
    // frame.
    void Tell(const glm::vec3& at, const glm::vec3& velocity = glm::vec3(0.0f))
    {
        Net::PlayerState state;
        state.position = at;
        state.velocity = velocity;
        state.forward = glm::vec3(1.0f, 0.0f, 0.0f);
        const Net::Packet packet = NetTest::MakePacket(Net::kData, Net::PlayerState::kChannel, 0, 0, 0, Net::Encode(state));
        link->wire.inbox.push_back({{packet.Raw().begin(), packet.Raw().end()}, {0x7F000001, NetworkMgr::kDefaultPort}});
    }
    // One engine frame of that many milliseconds.
    void EngineFrame(std::uint64_t milliseconds = 16)
    {
        time.Frame(milliseconds);
        WriteHeldKeys();
        Engine::Core::GetInstance().Update();
    }
    // What this side told the peer of its player since the last call.
    std::vector<Net::PlayerState> SentStates()
    {
        std::vector<Net::PlayerState> states;
        for (const auto& payload : link->TakeSent(Net::PlayerState::kChannel))
            states.push_back(Net::DecodePlayerState(payload).record);
        return states;
    }
    // The copy's half size across: a third of a tile wide is its scale.
    float PeerHalfWidth() const { return Engine::Transform::ScalePtr(peer)->x; }
    float LocalHalfWidth() const { return Engine::Transform::ScalePtr(local)->x; }

    Engine::EntityHandle local;
    Engine::EntityHandle peer;
    std::unique_ptr<FakeLink> link;
};

// A landing, a late record or the teleport may put the peer's player onto
// ours, beside it or on its head: ours steps out of its body before the
// frame is drawn, and never down into the floor, and the peer's player
// stays where its record put it.
TEST_F(PeerOverTheLink, ARecordPuttingThePeersPlayerOnOursLeavesOurViewOutsideItsBody)
{
    const float standing = Position(local).y;
    for (const glm::vec3& offset : {glm::vec3(0.5f, 0.0f, 0.0f), glm::vec3(0.0f, 1.5f, 0.0f)}) {
        SCOPED_TRACE(offset.y);
        const glm::vec3 onto = Position(local) + offset;
        Tell(onto);
        EngineFrame();
        EXPECT_EQ(Position(peer), onto);
        EXPECT_FALSE(InsideABody(Camera(local).mPos.value, peer));
        EXPECT_GE(glm::distance(Position(local), onto), LocalHalfWidth() + PeerHalfWidth() - 1e-3f)
            << "the bodies touch at most";
        EXPECT_NEAR(Position(local).y, standing, 1e-3f) << "our player sank";
    }
}

// A wall's column raised through our player pushes it out through its top,
// into the peer's player that the peer's records keep standing there: ours
// ends out of both, on every frame.
TEST_F(PeerOverTheLink, OutOfAColumnOurPlayerIsNotPushedIntoThePeersPlayer)
{
    const glm::vec3 at = Position(local);
    const glm::vec3 beside = at + glm::vec3(LocalHalfWidth() + PeerHalfWidth() + 0.5f, 0.0f, 0.0f);
    Tell(beside);
    EngineFrame();
    WallColumnThrough(local, 1.0f);
    const ArenaRoom room = ArenaRoom::Of(HexGrid::GetInstance());
    int inside = 0;
    for (int frame = 0; frame < 60; ++frame) {
        Tell(beside);
        EngineFrame();
        const glm::vec3 eye = Camera(local).mPos.value;
        inside += InsideABody(eye, peer) || TileColumns::WayOutOfColumns(eye, 0.0f, room).has_value();
    }
    EXPECT_EQ(inside, 0) << "views inside the peer's player or the column, of 60";
    EXPECT_NE(Position(local), at) << "the column moved our player";
    EXPECT_EQ(Position(peer), beside);
}

// The peer's records walk its player through ours at running speed: ours
// steps aside by no more than the two bodies take, and is given no speed
// to slide on with (with the copy's full mass in the physics it slid some
// twelve units).
TEST_F(PeerOverTheLink, ThePeersPlayerWalkingThroughOursShovesItNoFartherThanTheBodiesTake)
{
    const glm::vec3 start = Position(local);
    const glm::vec3 run(-205.0f, 0.0f, 0.0f);
    for (int frame = 0; frame < 10; ++frame) {
        Tell(start + glm::vec3(11.0f, 0.0f, 0.0f) + run * (0.016f * static_cast<float>(frame)), run);
        EngineFrame();
    }
    const glm::vec3 gone = Position(peer);
    for (int frame = 0; frame < 30; ++frame) {
        Tell(gone);
        EngineFrame();
    }
    const glm::vec2 moved(Position(local).x - start.x, Position(local).z - start.z);
    EXPECT_LE(glm::length(moved), LocalHalfWidth() + PeerHalfWidth() + 0.1f);
    EXPECT_LT(glm::length(glm::vec2(Body(local).mVelocity.value.x, Body(local).mVelocity.value.z)), 0.5f);
}

// Running into a wall, the player goes past it in the physics and is put
// back by the hold: the peer is told each frame where the frame drew the
// player, never the place past the wall.
TEST_F(PeerOverTheLink, TheStateSentAfterARunIntoAWallIsTheHeldPlace)
{
    Tell(Position(peer));
    HoldKey(InputBindings::Forward);
    HoldKey(InputBindings::Run);
    const float wall = ArenaRoom::Of(HexGrid::GetInstance()).max.x - 0.5f * Engine::Transform::ScalePtr(local)->x;
    int framesAtTheWall = 0;
    for (int frame = 0; frame < 150; ++frame) {
        EngineFrame(32);
        const std::vector<Net::PlayerState> sent = SentStates();
        ASSERT_EQ(sent.size(), 1u) << "frame " << frame;
        EXPECT_EQ(sent[0].position, Position(local)) << "frame " << frame;
        framesAtTheWall += std::fabs(Position(local).x - wall) < 1e-3f;
    }
    EXPECT_GT(framesAtTheWall, 10) << "ran into the wall";
}

} // namespace
