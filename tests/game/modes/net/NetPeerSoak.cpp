// A side of a long networked run: random hands play match after match, and
// when the time is up both sides stand still and write down what they see.
#include "NetPeer.h"

#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/GameState.h"
#include "game/menus/MenuLayers.h"
#include "game/modes/RandomHands.h"
#include "support/ResidentMemory.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A frame of a 60 Hz display, in game time and at least in real time: the
// two processes and the relay share the machine's cores.
constexpr std::uint64_t kSoakFrameMilliseconds = 16;
constexpr auto kSoakFramePace = 16ms;
// The software renderer is slow: one live frame in thirty is drawn.
constexpr long kDrawEvery = 30;
// After the time is up: the menus of one more match, an arena event running
// out, the settling and the wait for the peer all fit in this.
constexpr auto kSoakPatience = 150s;
// No arena event and no hands for this long: the players have landed, the
// tiles have stopped and every reliable record has been resent long enough
// to arrive through a tenth lost.
constexpr auto kStillFor = 5s;
// Each side shoots at the peer for this long in every cycle.
constexpr double kAimCycleSeconds = 30.0;
constexpr double kAimSeconds = 5.0;
// The host's arena events come this often instead of once a minute, so
// that every match sees some and a short run too.
constexpr float kEventPeriodSeconds = 20.0f;
// Memory is first read after a minute, or half of a shorter run.
constexpr double kWarmUpSeconds = 60.0;

double Seconds(std::chrono::steady_clock::duration span) { return std::chrono::duration<double>(span).count(); }

Player_LogicComp* PlayerNamed(const char* name)
{
    const Engine::EntityHandle entity = Net::Names::First(name);
    return entity.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
}

std::string Position(const char* name)
{
    const Engine::EntityHandle entity = Net::Names::First(name);
    if (entity.IsNull())
        return "none";
    const glm::vec3 at = Engine::Transform::GetWorldPosition(entity);
    std::ostringstream out;
    out << at.x << ' ' << at.y << ' ' << at.z;
    return out.str();
}

bool EventRunning()
{
    const GameState& state = GameState::GetInstance();
    return state.crashPending || state.flipPending || state.goalBallPending || state.announcing;
}

// Every tile at rest, with no peer step waiting and no crash under way: a
// move still running on one side shows a height between two on the floor it
// is compared with.
bool TilesStill()
{
    for (const Engine::EntityHandle& tile : HexGrid::GetInstance().tiles) {
        const CrashingTile* crash = Engine::LogicManager::GetCompPtr<CrashingTile>(tile);
        if (crash && crash->mActive)
            return false;
        const TileLogicComponent* logic = Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile);
        const Engine::StateMachine* height = logic ? logic->HeightMachine() : nullptr;
        const Engine::State* now = height ? height->GetCurrentState() : nullptr;
        if (logic && (logic->mPeerStep != 0 || (now && now->GetName() != "TileStay")))
            return false;
    }
    return true;
}

// A player at the limit: the match is ending.
bool MatchEnding()
{
    for (const char* name : {Net::Names::kLocalPlayer, Net::Names::kRemotePlayer}) {
        const Player_LogicComp* player = PlayerNamed(name);
        if (player && player->HasWon())
            return true;
    }
    return false;
}

} // namespace

void NetPeer::Soak()
{
    frameMilliseconds = kSoakFrameMilliseconds;
    Engine::Random::SeedWith(mSettings.seed);
    mSoak.start = SoakClock::now();
    mSoak.end = mSoak.start + std::chrono::seconds(mSettings.soakSeconds);
    mSoak.nextSample = std::min(kWarmUpSeconds, mSettings.soakSeconds / 2.0);
    mSoak.calmSince = mSoak.end;
    MouseForMatch();
    const auto giveUp = mSoak.end + kSoakPatience;
    bool settled = false;
    while (!settled && SoakClock::now() < giveUp) {
        const auto frameEnd = SoakClock::now() + kSoakFramePace;
        const auto began = SoakClock::now();
        if (mSoak.noted && PeerMarked("noted")) {
            settled = true;
            break;
        }
        if (!TurnModes())
            continue;
        if (GameMode::IsCurrent(GameMode::Title)) {
            const auto menus = SoakClock::now();
            const bool again = NextMatch();
            mSoak.inMenus += SoakClock::now() - menus;
            if (!again)
                break;
            continue;
        }
        const bool live = GameMode::IsCurrent(GameMode::Gameplay) && MatchRecorder::GetInstance().isLive;
        // Stillness counts in live play only; a match that ended after all
        // takes back this side's mark, and the next one is waited for.
        if (!live) {
            mSoak.calmSince = SoakClock::now();
            if (mSoak.still && !mSoak.noted) {
                mSoak.still = false;
                std::error_code ignored;
                std::filesystem::remove(mSettings.dumpPath + ".still", ignored);
            }
        }
        Engine::Renderer::GetInstance().renderingEnabled = live && ++mSoak.liveFrames % kDrawEvery == 0;
        Frame();
        mFrame = static_cast<int>(++mSoak.frames);
        SoakHands(live);
        // Once this side has written down the end, the peer may leave and
        // end the match here: nothing counts any more.
        if (!mSoak.noted)
            KeepOrCloseMatch(live);
        SampleMemory(false);
        TimeFrame(began, "soak");
        settled = live && SoakClock::now() >= mSoak.end && SettledWithPeer();
        std::this_thread::sleep_until(frameEnd);
    }
    const double elapsed = Seconds(SoakClock::now() - mSoak.start);
    // The menus' own steps are not the match's frames.
    const double playing = elapsed - Seconds(mSoak.inMenus);
    Note("soak.done", settled ? "1" : "0");
    Note("soak.frames", std::to_string(mSoak.frames));
    Note("soak.seconds", std::to_string(elapsed));
    Note("soak.menus.seconds", std::to_string(Seconds(mSoak.inMenus)));
    Note("soak.fps", std::to_string(static_cast<double>(mSoak.frames) / std::max(playing, 1e-3)));
    Note("soak.matches", std::to_string(mSoak.matches));
}

bool NetPeer::NextMatch()
{
    CloseMatch();
    // The title's pages come up with its first frames.
    Steps(2);
    if (Layers().Find(LayerCreator::kConnectionLostLayer)) {
        Note("soak.lost", "after match " + std::to_string(mSoak.matches));
        return false;
    }
    held.clear();
    sMouseButtons = 0;
    RestMouseInCorner();
    const bool again = Menus();
    MouseForMatch();
    if (!again)
        Note("soak.menus", "stuck after match " + std::to_string(mSoak.matches) + " on " + TopPage());
    return again;
}

// The hands for the next frame. Until the time is up: random keys and
// buttons and now and then a turn of the view, except that for a few
// seconds in every half minute each side in turn (the host first) stands
// behind the peer and shoots at it, so that matches reach their end. Then
// none but the clicks that call a flying ball back.
void NetPeer::SoakHands(bool live)
{
    const auto now = SoakClock::now();
    if (now >= mSoak.end) {
        held.clear();
        sMouseButtons = 0;
        const Player_LogicComp* mine = PlayerNamed(Net::Names::kLocalPlayer);
        mSoak.ballHome = !mine || CallBallBack(*mine);
        return;
    }
    const double cycle = std::fmod(Seconds(now - mSoak.start), kAimCycleSeconds);
    const double aimFrom = Client() ? kAimCycleSeconds / 2.0 : 0.0;
    Player_LogicComp* mine = PlayerNamed(Net::Names::kLocalPlayer);
    const Player_LogicComp* theirs = PlayerNamed(Net::Names::kRemotePlayer);
    if (live && mine && theirs && cycle >= aimFrom && cycle < aimFrom + kAimSeconds) {
        held.clear();
        sMouseButtons = 0;
        ShootAtPeer(*mine, *theirs);
        return;
    }
    if (!RandomHands::Shuffle(held, sMouseButtons))
        return;
    SDL_Event turn{};
    turn.type = SDL_MOUSEMOTION;
    turn.motion.windowID = SDL_GetWindowID(Engine::Window::Main()->sdlWindow);
    turn.motion.xrel = Engine::Random::RangeInt(-60, 60);
    turn.motion.yrel = Engine::Random::RangeInt(-10, 10);
    SDL_PushEvent(&turn);
}

// The frame that ends a replay makes the match live again on its way back
// to the title: scores count only in live play, and the arena events come
// sooner.
void NetPeer::KeepOrCloseMatch(bool live)
{
    if (live && MatchRecorder::GetInstance().isLive && !GameMode::ChangeRequested) {
        KeepScores();
        GameState::GetInstance().eventPeriod = kEventPeriodSeconds;
    } else {
        CloseMatch();
    }
}

void NetPeer::KeepScores()
{
    mSoak.inMatch = true;
    if (const Player_LogicComp* me = PlayerNamed(Net::Names::kLocalPlayer))
        mSoak.localScore = me->mScore;
    if (const Player_LogicComp* peer = PlayerNamed(Net::Names::kRemotePlayer))
        mSoak.peerScore = peer->mScore;
}

// Scores as the last live frame had them: the replay writes its recorded
// scores back.
void NetPeer::CloseMatch()
{
    if (!mSoak.inMatch)
        return;
    mSoak.inMatch = false;
    ++mSoak.matches;
    Note("match." + std::to_string(mSoak.matches), std::to_string(mSoak.localScore) + " " + std::to_string(mSoak.peerScore));
    // How it ended, for a failure to show.
    std::ostringstream how;
    how << "frame " << mSoak.frames << " gameplay " << GameMode::IsCurrent(GameMode::Gameplay) << " live "
        << int(MatchRecorder::GetInstance().isLive) << " change " << GameMode::ChangeRequested << " title "
        << (GameMode::Pending == GameMode::Title) << " after " << Seconds(SoakClock::now() - mSoak.start) << " s";
    Note("match." + std::to_string(mSoak.matches) + ".closed", how.str());
}

// Arena events would move the floor under the comparison: the host starts
// no new one once the time is up, and a running one plays out first. A
// flying ball could still score: it is called back. Each side marks when
// it (its tiles too) has been still for a while, writes down what it sees once the peer is
// still too, and ends once the peer has written too (its leaving would end
// this side's match).
bool NetPeer::SettledWithPeer()
{
    if (!Client())
        GameState::GetInstance().eventTimer = 0.0f;
    const auto now = SoakClock::now();
    if (EventRunning() || !mSoak.ballHome || MatchEnding() || !TilesStill() || mSoak.calmSince < mSoak.end)
        mSoak.calmSince = now;
    if (!mSoak.still && now - mSoak.calmSince >= kStillFor) {
        mSoak.still = true;
        Mark("still");
    }
    if (mSoak.still && !mSoak.noted && PeerMarked("still")) {
        NoteFinal();
        mSoak.noted = true;
        Mark("noted");
    }
    return mSoak.noted && PeerMarked("noted");
}

void NetPeer::NoteFinal()
{
    KeepScores();
    CloseMatch();
    Note("final.local", Position(Net::Names::kLocalPlayer));
    Note("final.peer", Position(Net::Names::kRemotePlayer));
    Note("final.flipped", std::to_string(GameState::GetInstance().arenaFlipped));
    std::ostringstream tiles;
    std::ostringstream crashed;
    const std::vector<Engine::EntityHandle>& grid = HexGrid::GetInstance().tiles;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        // How far the tile stands along its own up (kept in its side's
        // frame), in the world.
        const glm::vec3 at = Engine::Transform::GetWorldPosition(grid[i]);
        const glm::mat4 side = Engine::Transform::GetWorldMatrix(Engine::Transform::GetParent(grid[i]));
        const glm::vec3 up = glm::vec3(side * glm::vec4(*Engine::Transform::UpPtr(grid[i]), 0.0f));
        tiles << (glm::length(up) > 0.0f ? glm::dot(at, glm::normalize(up)) : 0.0f) << ';';
        if (Engine::LogicManager::GetCompPtr<CrashingTile>(grid[i]))
            crashed << i << ' ';
    }
    Note("final.tiles", tiles.str());
    Note("final.crashed", crashed.str());
    SampleMemory(true);
}

// After the warm-up and every minute after it, and once at the end.
void NetPeer::SampleMemory(bool last)
{
    const double seconds = Seconds(SoakClock::now() - mSoak.start);
    if (!last && seconds < mSoak.nextSample)
        return;
    const long kib = ResidentKiB();
    const std::string sample = std::to_string(static_cast<int>(seconds)) + " " + std::to_string(kib);
    if (last) {
        Note("rss.end", sample);
        return;
    }
    if (mSoak.minutes.empty())
        Note("rss.warm", sample);
    mSoak.minutes += sample + ";";
    Note("rss.samples", mSoak.minutes);
    mSoak.nextSample = seconds + 60.0;
    // Past the captured output, so a long run shows how it goes.
    std::cerr << "soak: " << kib / 1024 << " MiB at " << static_cast<int>(seconds) << " s, frame " << mSoak.frames
              << ", match " << mSoak.matches + 1 << "\n";
}

void NetPeer::Mark(const char* what) const { std::ofstream(mSettings.dumpPath + "." + what) << "1\n"; }

bool NetPeer::PeerMarked(const char* what) const
{
    return std::filesystem::exists(mSettings.peerDumpPath + "." + what);
}
