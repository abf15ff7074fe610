#include "game/match/GameState.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/Clock.h"
#include "engine/render/Renderer.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/MatchStats.h"
#include "game/components/music/AudioLogic.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/ArenaDebugKeys.h"
#include "game/match/GridCreation.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtx/rotate_vector.hpp>
#include <iostream>

namespace {

constexpr float kFadeSeconds = 8.0f;
constexpr int kCrashingTilesPerEvent = 3;

Player_LogicComp* PlayerOf(Engine::EntityHandle entity)
{
    return entity.IsValid() ? Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity) : nullptr;
}

bool Connected() { return NetworkMgr::GetInstance().connected != 0; }
bool IsClient()
{
    const NetworkMgr& network = NetworkMgr::GetInstance();
    return network.connected && !network.server;
}

void SendArenaEvent(const Net::ArenaEvent& record)
{
    if (Connected())
        NetworkMgr::GetInstance().send_type_6(record);
}

// Every "Player_Mouse" entity, first one first.
std::vector<Engine::EntityHandle> LocalPlayers()
{
    return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(Net::Names::kLocalPlayer);
}

void RefreshMousePlayer(GameState& state)
{
    const std::vector<Engine::EntityHandle> players = LocalPlayers();
    if (!players.empty())
        state.mousePlayer = players.front();
}

// Both local players stand still while the arena turns: the first one, and
// in a match on one machine the second local one (or a pad player left
// under its spawner's name).
std::vector<Engine::EntityHandle> PlayersHeldByFlip(const GameState& state)
{
    std::vector<Engine::EntityHandle> held{state.mousePlayer};
    if (Connected())
        return held;
    const std::vector<Engine::EntityHandle> players = LocalPlayers();
    if (players.size() > 1 && Engine::HasLogicComponents(players[1])) {
        held.push_back(players[1]);
        return held;
    }
    const Engine::EntityHandle pad = Net::Names::First(Net::Names::kGamepadPlayer);
    if (Engine::HasLogicComponents(pad))
        held.push_back(pad);
    return held;
}

// The request is asked for every frame of the announcement and taken only
// by a walking player, so one is still pending when the turn ends: each
// player the flip held must lose it then, or that player stands still
// again after the arena has turned.
void SetStaticRequests(const GameState& state, bool hold)
{
    for (Engine::EntityHandle entity : PlayersHeldByFlip(state)) {
        if (Player_LogicComp* player = PlayerOf(entity))
            player->mStaticRequest = hold;
    }
}

void AdvancePaletteFade(GameState& state, float dt)
{
    if (state.paletteFadeTimer < 0.0f)
        return;
    state.paletteFadeTimer += dt;
    const float eased = Engine::Math::EaseOutQuad(state.paletteFadeTimer / kFadeSeconds);
    CurrentPalette = BlendPalettes(state.fromPalette, state.targetPalette, eased);
    if (state.paletteFadeTimer >= kFadeSeconds) {
        CurrentPalette = state.targetPalette;
        state.paletteFadeTimer = -1.0f;
    }
}

// The expiry: the kind drawn last time fires now, and the next one is drawn.
void FireEvent(GameState& state)
{
    state.eventTimer = 0.0f;
    switch (state.nextEventKind) {
    case GameState::CrashingTiles:
        state.crashPending = 1;
        break;
    case GameState::ArenaFlip:
        state.flipPending = 1;
        break;
    default:
        state.goalBallPending = 1;
        break;
    }
    state.nextEventKind = Engine::Random::RangeInt(0, 2);
    state.announcing = 1;
    if (state.flipPending)
        GameState::ResetPalettes();
    if (state.crashPending || state.goalBallPending) {
        Net::ArenaEvent notice;
        notice.kind = Net::ArenaEvent::kCoolDown;
        notice.flag = state.crashPending;
        SendArenaEvent(notice);
    }
    if (state.flipPending) {
        Net::ArenaEvent flip;
        flip.kind = Net::ArenaEvent::kFlip;
        SendArenaEvent(flip);
    }
}

void Announce(GameState& state, float dt)
{
    // The sound and music of the player known so far; the lookup follows.
    Engine::Emitter* sound = nullptr;
    AudioLogic* music = nullptr;
    if (state.mousePlayer.IsValid()) {
        sound = Engine::LogicManager::GetCompPtr<Engine::Emitter>(state.mousePlayer);
        music = Engine::LogicManager::GetCompPtr<AudioLogic>(state.mousePlayer);
    }
    RefreshMousePlayer(state);
    if (state.flipPending) {
        SetStaticRequests(state, true);
        if (music)
            music->event_trigger = 1;
    }
    if (sound)
        sound->Play("EventCooldown", false, false);
    state.announceTimer += dt;
}

// Three tiles shoot out of their walls. A pick that finds no tile is
// reported and skipped.
void CrashTiles()
{
    Net::ArenaEvent record;
    record.kind = Net::ArenaEvent::kCrashingTiles;
    int picked = 0;
    for (int i = 0; i < kCrashingTilesPerEvent; ++i) {
        const Engine::EntityHandle tile = GridCreation::RandomTile();
        const TileLogicComponent* logic = tile.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile);
        if (!logic) {
            std::cerr << "Random tile was not valid." << std::endl;
            continue;
        }
        record.tiles[picked++] = static_cast<std::int32_t>(logic->mTileNumber);
        Engine::LogicManager::GetInstance().AddComponent<CrashingTile>(tile);
        CrashingTile* crash = Engine::LogicManager::GetCompPtr<CrashingTile>(tile);
        crash->Initialize();
        crash->mActive = 1;
    }
    const NetworkMgr& network = NetworkMgr::GetInstance();
    if (picked == 0 || !network.connected || !network.server)
        return;
    // The peer repeats a tile of this event for a pick that found none:
    // crashing a tile twice in one frame is crashing it once.
    for (int i = picked; i < kCrashingTilesPerEvent; ++i)
        record.tiles[i] = record.tiles[0];
    SendArenaEvent(record);
}

void SnapSides()
{
    HexGrid& grid = HexGrid::GetInstance();
    Engine::SpatialCollisionMgr& spatial = Engine::SpatialCollisionMgr::GetInstance();
    for (std::size_t side = 0; side < grid.sideFrames.size() && side < grid.sides.size(); ++side) {
        HexGrid::Frame& frame = grid.sideFrames[side];
        frame.up = -frame.up;
        frame.right = -frame.right;
        if (grid.sides[side].IsValid())
            Engine::Transform::UpRef(grid.sides[side]) = frame.up;
        spatial.UpdateAll();
    }
}

void TurnArena(GameState& state, float dt)
{
    state.announcing = 0;
    state.flipStep = state.flipAngle / state.flipDuration * dt;
    HexGrid& grid = HexGrid::GetInstance();
    for (int side = 0; side < static_cast<int>(grid.sides.size()); ++side)
        GridCreation::RotateSide(side, state.flipAxis, state.flipStep);
    for (const Engine::EntityHandle& tile : grid.tiles) {
        if (TileLogicComponent* logic = Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile))
            logic->mRestPosition = glm::rotate(logic->mRestPosition, state.flipStep, state.flipAxis);
    }
    Engine::SpatialCollisionMgr::GetInstance().UpdateAll();
    state.flipTimer += dt;
}

void RunFlip(GameState& state, float dt)
{
    // The last frame of the turn snaps the sides to exactly half a turn.
    if (state.flipPending && static_cast<double>(state.flipTimer) >
                                 static_cast<double>(state.flipDuration) - static_cast<double>(dt)) {
        SnapSides();
        state.flipTimer += 2.0f * dt;
        state.flipPending = 0;
        Engine::SpatialCollisionMgr::GetInstance().UpdateAll();
    }
    if (state.flipPending && state.announceTimer > state.announceDelay)
        TurnArena(state, dt);
    if (state.flipTimer > state.flipDuration) {
        GameState::ResetEvents(true);
        state.arenaFlipped = !state.arenaFlipped;
    }
}

void ClearEventFlags(GameState& state)
{
    state.crashPending = 0;
    state.flipPending = 0;
    state.goalBallPending = 0;
    state.announcing = 0;
}

} // namespace

GameState& GameState::GetInstance()
{
    static GameState state;
    return state;
}

void GameState::ResetToNew() { GetInstance() = GameState(); }

void GameState::Reset()
{
    GameState& state = GetInstance();
    state.flipAngle = glm::pi<float>();
    state.flipDuration = 2.0f;
    state.announceDelay = 4.0f;
    state.flipTimer = 0.0f;
    state.eventPeriod = 60.0f;
    state.eventTimer = 0.0f;
    state.announceTimer = 0.0f;
    state.flipAxis = glm::vec3(0.0f, 0.0f, 1.0f);
    state.paletteFadeTimer = -1.0f;
    ClearEventFlags(state);
    RefreshMousePlayer(state);
    MatchStats::GetInstance().matchStartTime = Engine::Platform::NowNanoseconds();
    state.arenaFlipped = 0;
    state.nextEventKind = Engine::Random::RangeInt(0, 2);
}

void GameState::ResetEvents(bool resetEventTimer)
{
    GameState& state = GetInstance();
    RefreshMousePlayer(state);
    SetStaticRequests(state, false);
    ClearEventFlags(state);
    state.announceTimer = 0.0f;
    state.flipTimer = 0.0f;
    state.flipStep = 0.0f;
    // The fade is no part of the event: the one a flip starts outlasts the
    // turn by 2 s and ends on the black palette. A new match stops it.
    if (resetEventTimer)
        state.eventTimer = 0.0f;
}

void GameState::ResetPalettes()
{
    GameState& state = GetInstance();
    state.paletteFadeTimer = 0.0f;
    state.fromPalette = CurrentPalette;
    state.targetPalette.LoadFromFile(kBlackPaletteFile);
}

void GameState::Update()
{
    const MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (recorder.IsReplaying())
        return;
    GameState& state = GetInstance();
    const float dt = static_cast<float>(Engine::FrameRateController::GetScaledDt());

    AdvancePaletteFade(state, dt);
    PassPaletteToRenderer(CurrentPalette);

    state.eventTimer += dt;
    if (state.eventTimer > state.eventPeriod && !IsClient())
        FireEvent(state);
    if (state.announcing)
        Announce(state, dt);
    if (state.crashPending && state.announceTimer > state.announceDelay) {
        CrashTiles();
        ResetEvents(true);
    }
    if (state.goalBallPending && state.announceTimer > state.announceDelay) {
        SpawnGoalBall();
        ResetEvents(true);
    }
    RunFlip(state, dt);
    if (!Connected())
        ArenaDebugKeys::Update(state);
}
