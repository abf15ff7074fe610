#include "NetPeer.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/Clock.h"
#include "engine/render/CameraManager.h"
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/TextComps.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/Palette.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TempBallComp.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameState.h"
#include "game/menus/AddressField.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/PrematchState.h"

#include <algorithm>
#include <fstream>
#include <chrono>
#include <sstream>
#include <thread>

namespace {

// Text ids of the menus walked here.
constexpr std::uint32_t kPlay = 0;
constexpr std::uint32_t kHost = 3;
constexpr std::uint32_t kJoin = 4;
constexpr std::uint32_t kContinue = 7;
constexpr std::uint32_t kBackFromDropdown = 9;
constexpr std::uint32_t kReady = 14;
constexpr std::uint32_t kActivePrefix = 20;
constexpr std::uint32_t kPassivePrefix = 21;
constexpr std::uint32_t kShield = 23;
constexpr std::uint32_t kRunCostZero = 28;
constexpr std::uint32_t kPerks = 34;

// How long a menu waits for the peer, however slow its machine.
constexpr auto kMenuPatience = std::chrono::seconds(60);
constexpr int kReplayWidth = 320;
constexpr int kReplayHeight = 180;
constexpr int kMatchFrames = 40000;
// The whole match's time in this process, however fast its frames run:
// under the sanitizers on a machine loaded three times over its cores the
// match takes two minutes, most of it the replay's drawn frames.
constexpr auto kMatchPatience = std::chrono::seconds(300);
// A frame takes at least this long: the two processes share the machine's
// cores, and the side with less to do must not starve the other.
constexpr auto kFramePace = std::chrono::milliseconds(4);
// A shot that has not hit within this many frames is called back.
constexpr int kRecallAfter = 40;
// How far behind the peer the shooter stands.
constexpr float kShotDistance = 7.0f;

// Runs its action as it goes out of scope.
template <class Action>
struct AtScopeEnd {
    Action action;
    ~AtScopeEnd() { action(); }
};

Engine::EntityHandle Named(const char* name) { return Net::Names::First(name); }

Player_LogicComp* PlayerOf(Engine::EntityHandle entity)
{
    return entity.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
}

std::string Text(const glm::vec3& v)
{
    std::ostringstream out;
    out << v.x << ' ' << v.y << ' ' << v.z;
    return out.str();
}

glm::vec3 Where(Engine::EntityHandle entity) { return Engine::Transform::GetWorldPosition(entity); }

// Half a step or more above where the tile rests.
bool RaisedOutOfTheFloor(Engine::EntityHandle entity)
{
    const auto* tile = Engine::LogicManager::GetCompPtr<TileLogicComponent>(entity);
    if (!tile)
        return false;
    const glm::vec3 up = glm::normalize(*Engine::Transform::UpPtr(entity));
    return glm::dot(*Engine::Transform::PositionPtr(entity) - tile->mRestPosition, up) > 0.5f * tile->tile_size.value;
}

// How far off the middle of my view the peer stands, in degrees; 180
// without a view.
std::string DegreesOffView(Engine::EntityHandle me, Engine::EntityHandle peer)
{
    Engine::CameraManager& cameras = Engine::CameraManager::GetInstance();
    if (!cameras.HasComponent(me))
        return "180";
    const glm::vec3 seen(cameras.GetCompPtr(me)->GetViewMatrix() * glm::vec4(Where(peer), 1.0f));
    return std::to_string(glm::degrees(std::acos(-seen.z / glm::length(seen))));
}

Engine::UI::DetectInteractionComp* FindButton(const Engine::UI::IElement& element, std::uint32_t textId, bool prefix)
{
    auto* button = element.GetComp<Engine::UI::DetectInteractionComp>();
    if (button) {
        const auto* locale = element.GetComp<Engine::UI::LocaleTextComp>();
        const auto* text = element.GetComp<Engine::UI::BaseTextComp>();
        if (locale && locale->key == textId && !prefix)
            return button;
        if (prefix && text && text->GetText().rfind(Engine::UI::GetLocaleText(textId), 0) == 0)
            return button;
    }
    const auto* canvas = dynamic_cast<const Engine::UI::Canvas*>(&element);
    if (!canvas)
        return nullptr;
    for (const Engine::UI::IElement* child : canvas->Children()) {
        if (auto* found = FindButton(*child, textId, prefix))
            return found;
    }
    return nullptr;
}

} // namespace

int NetPeer::Run()
{
    SetUp();
    if (HasFailure())
        return 1;
    frameMilliseconds = 32;
    Engine::Platform::SetClock(&mLinkClock);
    // Nothing is pictured here; the replay draws every frame through the
    // kill camera, and the software renderer's time grows with the window.
    Engine::Window::Main()->SetResolution({kReplayWidth, kReplayHeight});
    WindowedHome::SaveWindowed();
    MatchRecorder::GetInstance().capacity = mSettings.recordedFrames;
    NetworkMgr& network = NetworkMgr::GetInstance();
    network.port = 0;
    network.bind_address = "127.0.0.1";
    network.timeout = mSettings.silenceLimit;
    GameMode::Pending = GameMode::Title;
    Step();
    const bool inMatch = Menus();
    Note("menus", inMatch ? "1" : "0");
    if (inMatch && mSettings.soakSeconds > 0)
        Soak();
    else if (inMatch)
        Play();
    WriteDump();
    const bool failed = HasFailure();
    TearDown();
    return failed ? 1 : 0;
}

bool NetPeer::Menus() { return Client() ? ClientMenus() : HostMenus(); }

bool NetPeer::HostMenus()
{
    // A host that plays again binds its first port again: the client (or
    // the relay) knows no other.
    if (mHostPort != 0)
        NetworkMgr::GetInstance().port = mHostPort;
    Activate(kPlay);
    Activate(kHost);
    EXPECT_EQ(TopPage(), LayerCreator::kHostWaitLayer);
    mHostPort = NetworkMgr::GetInstance().local_port();
    std::ofstream(mSettings.hostPortPath) << mHostPort << '\n';
    if (!StepUntil([] { return GameMode::IsCurrent(GameMode::Lobby); }))
        return false;
    Step();
    EXPECT_EQ(TopPage(), LayerCreator::kHostPrematchLayer);
    // Perks on: the host decides it for both.
    bool& perks = GameModifiers::GetPerks().EnablePerks.value;
    if (!perks && !Activate(kPerks))
        return false;
    Note("perks", perks ? "1" : "0");
    Activate(kContinue);
    Step();
    if (TopPage() != LayerCreator::kNetworkPerksLayer)
        return false;
    if (!ChoosePerk(kPassivePrefix, LayerCreator::kPassivePerkLayer, kRunCostZero))
        return false;
    Note("chose.passive", std::to_string(GameModifiers::GetPerks().Passive.value));
    Activate(kReady);
    return UntilMatchStarts();
}

bool NetPeer::ClientMenus()
{
    std::uint16_t port = 0;
    if (!StepUntil([&] { return (std::ifstream(mSettings.clientPortPath) >> port) && port != 0; }))
        return false;
    NetworkMgr::GetInstance().port = port;
    Activate(kPlay);
    Activate(kJoin);
    EXPECT_EQ(TopPage(), LayerCreator::kEnterAddressLayer);
    LayerCreator::EnterIPComponent* field = LayerCreator::EnterIPComponent::Active();
    if (!field)
        return false;
    // The field shows the address joined last; the field reads its keys
    // from the window's events.
    for (int i = 0; i < 32 && !field->Text().empty(); ++i) {
        SDL_Event backspace{};
        backspace.type = SDL_KEYDOWN;
        backspace.key.windowID = SDL_GetWindowID(Engine::Window::Main()->sdlWindow);
        backspace.key.state = SDL_PRESSED;
        backspace.key.keysym.scancode = SDL_SCANCODE_BACKSPACE;
        SDL_PushEvent(&backspace);
        Step();
    }
    EXPECT_EQ(field->Text(), "");
    Type("127.0.0.1");
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(TopPage(), LayerCreator::kConnectingLayer);
    if (!StepUntil([] { return GameMode::IsCurrent(GameMode::Lobby); }))
        return false;
    // The host's perk choice begins: this side's perk page opens by itself.
    if (!StepUntil([] { return TopPage() == LayerCreator::kNetworkPerksLayer; }))
        return false;
    Note("perks", GameModifiers::GetPerks().EnablePerks.value ? "1" : "0");
    if (!ChoosePerk(kActivePrefix, LayerCreator::kActivePerkLayer, kShield))
        return false;
    Note("chose.active", std::to_string(GameModifiers::GetPerks().Active.value));
    Activate(kReady);
    return UntilMatchStarts();
}

// The start may come with the ready press itself: its second step then
// already made the change.
bool NetPeer::UntilMatchStarts()
{
    return StepUntil([] {
        return (GameMode::ChangeRequested && GameMode::Pending == GameMode::Gameplay) ||
               GameMode::IsCurrent(GameMode::Gameplay);
    });
}

bool NetPeer::StepUntil(const std::function<bool()>& done)
{
    const auto until = std::chrono::steady_clock::now() + kMenuPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) {
            NoteWhereStuck();
            return false;
        }
        const auto began = std::chrono::steady_clock::now();
        Step();
        TimeFrame(began, "menus");
        std::this_thread::sleep_for(kFramePace);
    }
    return true;
}

// What a wait that ran out of patience saw last: the page, the link and
// both sides' lobby stages.
void NetPeer::NoteWhereStuck()
{
    const NetworkMgr& network = NetworkMgr::GetInstance();
    const LayerCreator::PrematchPair local = LayerCreator::LocalPrematch();
    const LayerCreator::PrematchPair remote = LayerCreator::RemotePrematch();
    std::ostringstream where;
    where << "page " << TopPage() << " lobby " << GameMode::IsCurrent(GameMode::Lobby) << " change "
          << GameMode::ChangeRequested << " connected " << int(network.connected) << " timed out "
          << int(network.timed_out) << " stages " << int(local.stage) << "/" << int(local.value) << " "
          << int(remote.stage) << "/" << int(remote.value);
    Note("stuck", where.str());
}

bool NetPeer::Activate(std::uint32_t textId, bool prefix)
{
    Engine::UI::Layer* top = TopLayer();
    Engine::UI::DetectInteractionComp* button = top && top->root ? FindButton(*top->root, textId, prefix) : nullptr;
    if (!button) {
        ADD_FAILURE() << "no button " << textId << " on " << TopPage();
        return false;
    }
    Engine::UI::LayerStack::SetFocus(top, button);
    Press(SDL_SCANCODE_RETURN);
    return true;
}

// Onto the label, open its dropdown, pick the option, close the dropdown.
bool NetPeer::ChoosePerk(std::uint32_t labelPrefix, const char* dropdown, std::uint32_t option)
{
    if (!Activate(labelPrefix, true))
        return false;
    Step();
    if (TopPage() != dropdown)
        return false;
    if (!Activate(option) || !Activate(kBackFromDropdown))
        return false;
    Step();
    return TopPage() == LayerCreator::kNetworkPerksLayer;
}

void NetPeer::NoteArena()
{
    const HexGrid& grid = HexGrid::GetInstance();
    Note("arena.palette", std::to_string(PaletteIndex));
    Note("arena.tiles", std::to_string(grid.tiles.size()));
    std::vector<std::int32_t> immovable = grid.immovableTiles;
    std::sort(immovable.begin(), immovable.end());
    std::ostringstream numbers;
    for (std::int32_t number : immovable)
        numbers << number << ' ';
    Note("arena.immovable", numbers.str());
    const Engine::EntityHandle me = Named(Net::Names::kLocalPlayer);
    const Engine::EntityHandle peer = Named(Net::Names::kRemotePlayer);
    Note("start.local", me.IsNull() ? "none" : Text(Where(me)));
    Note("start.peer", peer.IsNull() ? "none" : Text(Where(peer)));
    Note("peer.remote", PlayerOf(peer) && PlayerOf(peer)->mRemote ? "1" : "0");
}

// While the match is live: the replay writes its recorded scores back.
void NetPeer::NoteScores()
{
    if (const Player_LogicComp* me = PlayerOf(Named(Net::Names::kLocalPlayer)))
        Note("final.local", std::to_string(me->mScore));
    if (const Player_LogicComp* peer = PlayerOf(Named(Net::Names::kRemotePlayer)))
        Note("final.peer", std::to_string(peer->mScore));
}

void NetPeer::Play()
{
    // The mode loop's turn, with the arena noted before the first frame on
    // it (a client's arena comes in some frame after the match's Init).
    bool noted = false;
    MouseForMatch();
    const auto until = std::chrono::steady_clock::now() + kMatchPatience;
    for (mFrame = 0; mFrame < kMatchFrames && std::chrono::steady_clock::now() < until; ++mFrame) {
        const auto frameEnd = std::chrono::steady_clock::now() + kFramePace;
        const AtScopeEnd timed{[this, began = std::chrono::steady_clock::now()] { TimeFrame(began, "match", true); }};
        if (!TurnModes())
            continue;
        if (GameMode::IsCurrent(GameMode::Gameplay) && !noted && !Named(Net::Names::kRemotePlayer).IsNull()) {
            NoteArena();
            noted = true;
        }
        if (GameMode::IsCurrent(GameMode::Title)) {
            Note("returned", "1");
            Note("title.connectionlost", Layers().Find(LayerCreator::kConnectionLostLayer) ? "1" : "0");
            return;
        }
        Engine::Renderer::GetInstance().renderingEnabled = false;
        Frame();
        if (GameMode::IsCurrent(GameMode::Gameplay))
            PlayFrame();
        std::this_thread::sleep_until(frameEnd);
    }
    Note("stuck.phase", std::to_string(static_cast<int>(mPhase)));
}

bool NetPeer::TurnModes()
{
    if (GameMode::ChangeRequested) {
        GameMode::ChangeRequested = false;
        GameMode::Current.Shutdown();
        GameMode::Current = GameMode::Pending;
        GameMode::Pending = {};
        GameMode::Current.Init();
        if (GameMode::ChangeRequested)
            return false;
    }
    return true;
}

void NetPeer::MouseForMatch()
{
    Engine::InputHost host = Input().GetHost();
    host.mouseState = [](int* x, int* y) {
        *x = kWindowWidth / 2;
        *y = kWindowHeight / 2;
        return sMouseButtons;
    };
    Input().SetHost(host);
}

void NetPeer::PlayFrame()
{
    // A click lasts one frame.
    sMouseButtons = 0;
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (!recorder.isLive) {
        if (!mSawEndOfPlay) {
            const Player_LogicComp* a = PlayerOf(Named(Net::Names::kLocalPlayer));
            const Player_LogicComp* b = PlayerOf(Named(Net::Names::kRemotePlayer));
            Note("end.at", std::to_string(mFrame) + " phase " + std::to_string(static_cast<int>(mPhase)) + " limits "
                               + (a ? std::to_string(a->mScoreLimit) + " " + std::to_string(a->mScore) : "-") + " "
                               + (b ? std::to_string(b->mScoreLimit) + " " + std::to_string(b->mScore) : "-"));
        }
        mSawEndOfPlay = true;
        Note("replayed", "1");
        return;
    }
    if (!mSawEndOfPlay)
        NoteScores();
    if (mPhase == Phase::Settle)
        Note("local.passive", PlayerOf(Named(Net::Names::kLocalPlayer)) ? std::to_string(PlayerOf(Named(Net::Names::kLocalPlayer))->mPassiveKind) : "none");
    const Engine::EntityHandle me = Named(Net::Names::kLocalPlayer);
    const Engine::EntityHandle peer = Named(Net::Names::kRemotePlayer);
    Player_LogicComp* mine = PlayerOf(me);
    Player_LogicComp* theirs = PlayerOf(peer);
    if (!mine || !theirs)
        return;
    GameState& state = GameState::GetInstance();
    const float dt = static_cast<float>(frameMilliseconds) / 1000.0f;

    // The peer's ball as this side sees it: a shot shows as a fast ball.
    static glm::vec3 lastPeerBall{0.0f};
    const Engine::EntityHandle peerBall = Named(Net::Names::kRemoteBall);
    if (!peerBall.IsNull()) {
        const glm::vec3 now = Where(peerBall);
        if (mFrame > 1)
            mFastestPeerBall = std::max(mFastestPeerBall, glm::distance(now, lastPeerBall) / dt);
        lastPeerBall = now;
        std::ostringstream speed;
        speed << mFastestPeerBall;
        Note("peerball.fastest", speed.str());
    }

    if (mNotedPhase != mPhase) {
        mNotedPhase = mPhase;
        Note("phase." + std::to_string(static_cast<int>(mPhase)), std::to_string(mFrame));
    }
    const NetworkMgr& network = NetworkMgr::GetInstance();
    if (network.timed_out && mDump.count("lost.after") == 0) {
        const double silence = static_cast<double>(Engine::Platform::NowNanoseconds() - network.last_receive_ns) / 1e9;
        Note("lost.after", std::to_string(silence));
    }
    // The host fires the scenario's one arena event after the bend: none
    // comes due by the clock before it, however slow the frames.
    if (!Client() && (mPhase == Phase::Settle || mPhase == Phase::Bend))
        state.eventTimer = 0.0f;
    switch (mPhase) {
    case Phase::Settle:
        if (mine->StateNameOf(0) == "Move" && mFrame > 30) {
            Note("settled.local", Text(Where(me)));
            Note("settled.peer", Text(Where(peer)));
            if (!mSettings.playingPath.empty())
                std::ofstream(mSettings.playingPath) << mFrame << '\n';
            mPhase = Phase::Bend;
            mPhaseStart = mFrame;
        }
        return;
    case Phase::Bend:
        if (Client()) {
            // One tap of the raise key on the tile in view, once this side's
            // player may bend (not held by an arena event) and the host's
            // player stands still here too. Only its place on the floor is
            // watched: between two of the host's states its copy drops, so
            // its height depends on how the two sides' frame rates meet.
            const glm::vec3 there = Where(peer);
            const glm::vec2 across(there.x - mPeerWas.x, there.z - mPeerWas.z);
            mPeerStill = glm::length(across) < 0.01f ? mPeerStill + 1 : 0;
            mPeerWas = there;
            if (mPressedAt < 0 && mPeerStill >= 10 && mine->StateNameOf(0) == "Move") {
                held.insert(SDL_SCANCODE_E);
                mPressedAt = mFrame;
                Note("bent.aimed", mine->mAimedTile.IsNull() ? "-1" : "1");
                Note("bend.local", Text(Where(me)));
                Note("bend.peer", Text(there));
                Note("bend.peer.degrees", DegreesOffView(me, peer));
            } else if (mPressedAt >= 0 && mFrame == mPressedAt + 1) {
                held.erase(SDL_SCANCODE_E);
            } else if (mPressedAt >= 0 && mFrame == mPressedAt + 20) {
                const auto& tiles = HexGrid::GetInstance().tiles;
                for (std::size_t i = 0; i < tiles.size(); ++i) {
                    const auto* tile = Engine::LogicManager::GetCompPtr<TileLogicComponent>(tiles[i]);
                    if (tile && tile->mLevel > 0)
                        Note("bent.tile", std::to_string(i));
                }
                TakeShot();
                mPhase = Phase::Event;
                mPhaseStart = mFrame;
            }
            return;
        }
        // The host watches for the client's tile standing up out of the
        // floor (the peer's level travels with its next bend, so only the
        // height shows it). The bend may have come, and its step ended,
        // while this side was still settling.
        for (std::size_t i = 0; i < HexGrid::GetInstance().tiles.size(); ++i) {
            if (RaisedOutOfTheFloor(HexGrid::GetInstance().tiles[i])) {
                Note("risen.tile", std::to_string(i));
                Note("bend.peer", Text(Where(peer)));
                Note("bend.peer.degrees", DegreesOffView(me, peer));
                TakeShot();
                mPhase = Phase::Event;
                mPhaseStart = mFrame;
            }
        }
        if (mFrame - mPhaseStart > 4000) {
            mPhase = Phase::Event;
            mPhaseStart = mFrame;
        }
        return;
    case Phase::Event:
        if (!Client() && mFrame == mPhaseStart + 1) {
            // The next event, an arena flip, is due now.
            state.nextEventKind = GameState::ArenaFlip;
            state.eventTimer = state.eventPeriod + 1.0f;
            Note("event.fired", "1");
        }
        if (state.flipPending)
            Note("event.announced", "1");
        if (state.arenaFlipped && !state.flipPending && mDump.count("event.played") == 0) {
            Note("event.played", "1");
            Mark("flipped");
        }
        // The client shoots once the host's arena has turned too: a match
        // ended sooner would stop the host's turn half way.
        if (mDump.count("event.played") && (!Client() || PeerMarked("flipped"))) {
            mPhase = Phase::Duel;
            mPhaseStart = mFrame;
        }
        return;
    case Phase::Duel:
        if (mine->HasWon() || theirs->HasWon()) {
            mPhase = Phase::End;
            return;
        }
        if (Client()) {
            const Aim shot = ShootAtPeer(*mine, *theirs);
            Note("duel.aim", Text(shot.direction));
            Note("duel.me", Text(Where(me)));
            Note("duel.peer", Text(Where(peer)));
            if (shot.flight == "BallBouncing") {
                static float closest = 1e9f;
                closest = std::min(closest, glm::distance(Where(mine->mOwnBall), Where(peer)));
                Note("duel.closest", std::to_string(closest));
                Note("duel.ball", Text(Where(mine->mOwnBall)));
            }
            Note("duel.shots", std::to_string(++mShots));
        }
        return;
    case Phase::End:
        return;
    }
}

// Stands behind the peer along the view, still, and clicks: a shot while
// the ball is in hand and the peer is not hurt, a recall once a shot has
// flown too long.
NetPeer::Aim NetPeer::ShootAtPeer(Player_LogicComp& mine, const Player_LogicComp& theirs)
{
    const Engine::EntityHandle me = mine.GetOwner();
    const Engine::GameCamera* camera =
        Engine::CameraManager::GetInstance().HasComponent(me) ? Engine::CameraManager::GetInstance().GetCompPtr(me) : nullptr;
    // Where the ball will fly: the view, or the body's forward.
    Aim shot;
    shot.direction = camera ? camera->mTarget.value - camera->mPos.value : glm::vec3(0.0f);
    if (glm::length(shot.direction) < 1e-4f)
        shot.direction = *Engine::Transform::ForwardPtr(me);
    if (glm::length(shot.direction) < 1e-4f)
        shot.direction = glm::vec3(0.0f, 0.0f, 1.0f);
    shot.direction = glm::normalize(shot.direction);
    Engine::Transform::SetWorldPosition(me, Where(theirs.GetOwner()) - shot.direction * kShotDistance);
    if (Engine::CollisionMgr::GetInstance().HasComponent(me))
        Engine::CollisionMgr::GetInstance().GetCompPtr(me)->mVelocity.value = glm::vec3(0.0f);
    const auto* ball = Engine::LogicManager::GetCompPtr<TempBallComp>(mine.mOwnBall);
    shot.flight = ball ? ball->FlightStateName() : "";
    if (shot.flight == "BallIdle" && !theirs.mHurting && mFrame - mShotAt > 3) {
        sMouseButtons = SDL_BUTTON_LMASK;
        mShotAt = mFrame;
    } else if (shot.flight == "BallBouncing" && mFrame - mShotAt > kRecallAfter) {
        sMouseButtons = SDL_BUTTON_LMASK;
        mShotAt = mFrame;
    }
    return shot;
}

// A ball still flying is called back, a click at a time; true once none
// flies.
bool NetPeer::CallBallBack(const Player_LogicComp& mine)
{
    const auto* ball = Engine::LogicManager::GetCompPtr<TempBallComp>(mine.mOwnBall);
    if (!ball || ball->FlightStateName() != "BallBouncing")
        return true;
    if (mFrame - mShotAt > kRecallAfter) {
        sMouseButtons = SDL_BUTTON_LMASK;
        mShotAt = mFrame;
    }
    return false;
}

// One frame drawn: this side's view of the shared arena, the raised tile
// in it. Drawing stalls this side for a while, so it comes after the
// positions are compared.
void NetPeer::TakeShot()
{
    if (mSettings.screenshot.empty() || mDump.count("screenshot"))
        return;
    Engine::Renderer::GetInstance().renderingEnabled = true;
    EngineFrame();
    Engine::Renderer::GetInstance().renderingEnabled = false;
    Note("screenshot", SaveScreenshot(mSettings.screenshot) ? "1" : "0");
}

void NetPeer::TimeFrame(std::chrono::steady_clock::time_point began, const char* part, bool withPhase)
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (seconds <= mLongestFrame)
        return;
    mLongestFrame = seconds;
    std::ostringstream where;
    where << seconds << " s in the " << part << ", frame " << mFrame;
    if (withPhase)
        where << ", phase " << static_cast<int>(mPhase);
    Note("frame.longest", where.str());
}

void NetPeer::WriteDump() const
{
    std::ofstream out(mSettings.dumpPath);
    for (const auto& [key, value] : mDump)
        out << key << '=' << value << '\n';
}
