// The level record's byte layout is in LevelRecord.h.
#include "game/match/NetworkedScene.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/RenderCompManager.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/Palette.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/tile/GoalTile.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/tile/TileHeightStates.h"
#include "game/config/UserConfig.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/match/GridCreation.h"
#include "game/match/LevelRecord.h"
#include "game/match/MatchHookAnswers.h"
#include "game/match/ModeSteps.h"

#include <algorithm>
#include <iostream>

namespace NetworkedScene {
namespace {

NetworkMgr& Network() { return NetworkMgr::GetInstance(); }

Player_LogicComp* PlayerOf(Engine::EntityHandle entity)
{
    return entity.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
}

// A player's own ball, or the ball it plays against.
void SetOwnBall(Engine::EntityHandle player, Engine::EntityHandle ball)
{
    if (Player_LogicComp* component = PlayerOf(player))
        component->mBall = component->mOwnBall = ball;
}
void SetOpponentBall(Engine::EntityHandle player, Engine::EntityHandle ball)
{
    if (Player_LogicComp* component = PlayerOf(player))
        component->mOpponentBall = ball;
}
void SetSecondHud(Engine::EntityHandle player, Engine::EntityHandle hud)
{
    if (Player_LogicComp* component = PlayerOf(player))
        component->mSecondHud = hud;
}

// The peer's ball: a ball like any other, named so that the messages find it.
Engine::EntityHandle SpawnPeerBall(Engine::EntityHandle peer)
{
    const Engine::EntityHandle ball = GameScene::SpawnBall(peer);
    if (!ball.IsNull())
        Engine::SetEntityName(ball, Net::Names::kRemoteBall);
    SetOwnBall(peer, ball);
    return ball;
}

// The scene of the last match or of the menus goes, with its events and its
// arena, before a networked scene is built.
void ClearForNetworkedScene()
{
    GameState::ResetEvents(true);
    Engine::SceneManager::DestroySceneImmediately();
    GridCreation::ClearGrid();
}

// As a local match is set up: the scene in creation while it is built.
void EnterCreation()
{
    if (Engine::SceneManager::GetState() == Engine::SceneManager::Active)
        Engine::SceneManager::SetIdle();
    Engine::SceneManager::SetCreation();
}

// The link is of no more use: closed, and marked so that the title shows
// the player that it was lost.
void GiveUpLink(const char* why)
{
    std::cerr << "[Network] " << why << "; back to the title.\n";
    Network().Disconnect();
    Network().timed_out = 1;
}

LevelRecord::Players HostPlayers()
{
    LevelRecord::Players players;
    const Engine::EntityHandle host = Net::Names::First(Net::Names::kLocalPlayer);
    if (!host.IsNull()) {
        players.hostPosition = Engine::Transform::GetWorldPosition(host);
        players.hostScale = Engine::Transform::ScaleRef(host);
    }
    // The copy is a third of a tile wide and twice as tall.
    const float s = HexGrid::GetInstance().tileScale.x / 3.0f;
    players.clientPosition = kClientCopyStart;
    players.clientScale = glm::vec3(s, 2.0f * s, s);
    return players;
}

// The peer's player carries no medals of its own: its hits are shown on the
// peer's screen. Only the end of a match it wins shows here, as "MedalLost"
// on this machine's screen, from an entity of its own.
Engine::EntityHandle MakeMedalHolder()
{
    const Engine::EntityHandle holder = Engine::EntityMgr::GetInstance().CreateEntity();
    if (!holder.IsNull())
        Engine::LogicManager::GetInstance().AddComponent<BadgeManagerComp>(holder);
    return holder;
}

// Every immovable tile the record named, and the goal tile, learn it now.
void MarkSpecialTiles()
{
    HexGrid& grid = HexGrid::GetInstance();
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    const std::vector<std::int32_t> immovable = grid.immovableTiles;
    for (std::int32_t number : immovable)
        GameScene::MakeImmovable(grid.Tile(static_cast<std::uint64_t>(number)));
    if (grid.goalTile == -1)
        return;
    const Engine::EntityHandle goal = grid.Tile(static_cast<std::uint64_t>(grid.goalTile));
    if (!goal.IsNull()) {
        logic.AddComponent<GoalTile>(goal);
        Engine::LogicManager::GetCompPtr<GoalTile>(goal)->Initialize();
    }
}

} // namespace

void CreatePlayerEntity(Engine::EntityHandle entity, const glm::vec3& position, const glm::vec3& scale,
                        const char* name)
{
    Engine::TransformCompManager::GetInstance().AddComponent(entity);
    Engine::CollisionTable::GetInstance().AddTag("Player");
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(entity);
    body.SetCollisionType("Player");
    body.mDrag.value = 0.9f;
    body.mGravity.value *= 100.0f;
    body.mRestitution.value = 0.0f;

    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<Engine::Emitter>(entity);
    Engine::Emitter& sounds = *Engine::LogicManager::GetCompPtr<Engine::Emitter>(entity);
    sounds.AddSound("Run", "data/Sounds/Sfx/Running1.wav", true);
    sounds.AddSound("EventCooldown", "data/Sounds/Sfx/EventCooldown.wav", true);
    sounds.AddSound("tpsfx", "data/Sounds/Sfx/Tp_active.wav", true);
    sounds.AddSound("no_energy", "data/Sounds/Sfx/ooe_test.wav", true);
    sounds.AddSound(TileMovingName(0), "data/Sounds/Sfx/tile_moving_sfx.wav", true);
    // Playing but silent: gameplay only raises their volume.
    for (const std::string& muted : {std::string("no_energy"), TileMovingName(0)}) {
        sounds.Play(muted, false, false);
        sounds.SetVolume(muted, 0.0f);
        sounds.SetAllowOverlap(muted, false);
    }

    // Drawn as the players are, in its player's colour: without a program
    // of its own the renderer draws nothing of it, and the peer's player
    // was never seen.
    Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(entity).component;
    look.mModelName.value = "Player";
    look.mMaterialName.value = "White";
    look.mShaderName.value = "Player";
    Engine::Transform::SetWorldPosition(entity, position);
    Engine::Transform::ScaleRef(entity) = scale;

    Engine::EntityNameCompManager::GetInstance().AddComponent(entity);
    Engine::SetEntityName(entity, name);
    Engine::EntityTagCompManager::GetInstance().AddTag(entity, "Player");
    logic.AddComponent<Player_LogicComp>(entity);
    // Moved by the peer's messages, never by this machine's input.
    Player_LogicComp& player = *Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
    player.mRemote = true;
    player.mMedalHolder = MakeMedalHolder();
    // The manager keeps its components in a map: `look` still stands.
    look.mDiffuseColor.value = PlayerFrame::PlayerColour(player.mPlayerNumber);
    look.ResolveResources();
}

void BuildServerEntities(GameState&)
{
    NetworkMgr& network = Network();
    if (!network.connected)
        return;
    // From now on the link serves the match's channels.
    network.menu_mode = 0;
    ClearForNetworkedScene();
    ResetSceneSound();
    Player_LogicComp::ResetPlayerCount();
    GameScene::PlayerCount = 1;
    const Engine::EntityHandle blank = GameScene::Build();
    const Engine::EntityHandle copy = Engine::EntityMgr::GetInstance().CreateEntity();
    PassPaletteToRenderer(CurrentPalette);

    Net::LevelRecord record{};
    GridCreation::CopySettings(record);
    const LevelRecord::Players players = HostPlayers();
    LevelRecord::WritePlayers(record, players);
    // Without a player of its own the host has nothing to show its peer.
    const Engine::EntityHandle host = Net::Names::First(Net::Names::kLocalPlayer);
    if (!host.IsNull()) {
        network.send_type_0(record);
        network.recv_everything();
    }
    if (copy.IsNull())
        return;
    CreatePlayerEntity(copy, players.clientPosition, players.clientScale, Net::Names::kRemotePlayer);
    SetSecondHud(copy, blank);
    const Engine::EntityHandle copyBall = SpawnPeerBall(copy);
    SetOpponentBall(host, copyBall);
    SetOpponentBall(copy, Net::Names::First(Net::Names::kLocalBall));
}

bool BuildClientEntities(const Net::LevelRecord& record)
{
    // Checked whole before anything is built from it.
    if (!GridCreation::ApplyLevelSettings(record)) {
        GiveUpLink("The host's arena was refused");
        return false;
    }
    const LevelRecord::Settings settings = LevelRecord::Read(record).record;

    FillHooksForMatch();
    const Engine::EntityHandle blank = GameScene::MakeBlankHud();
    std::vector<GameScene::SpawnedPlayer> locals;
    const int count = std::clamp(GameScene::PlayerCount, 1, 2);
    for (int i = 0; i < count; ++i) {
        locals.push_back(GameScene::SpawnLocalPlayer(i, false));
        // Player 2's place, across the centre from the host's player 1:
        // each faces the other from the start, as on one machine. (At the
        // centre the opening look aims at the player's own eye.)
        if (!locals.back().player.IsNull())
            Engine::Transform::SetWorldPosition(locals.back().player, GameScene::StartPlace(2));
        SetSecondHud(locals.back().player, blank);
    }

    const Engine::EntityHandle peer = Engine::EntityMgr::GetInstance().CreateEntity();
    if (!peer.IsNull()) {
        CreatePlayerEntity(peer, settings.players.hostPosition, settings.players.hostScale, Net::Names::kRemotePlayer);
        SetSecondHud(peer, blank);
        const Engine::EntityHandle peerBall = SpawnPeerBall(peer);
        SetOpponentBall(locals.front().player, peerBall);
        SetOpponentBall(peer, locals.front().ball);
    }
    GameScene::MakeKillCamHud();

    // The host's arena in the host's palette.
    GridCreation::CreateGrid();
    PassPaletteToRenderer(CurrentPalette);
    MarkSpecialTiles();
    Engine::SpatialCollisionMgr::GetInstance().UpdateAll();
    return true;
}

void BuildServerSide(GameState& state)
{
    EnterCreation();
    BuildServerEntities(state);
    StartBuiltScene();
}

void BeginClientSide(GameState&)
{
    if (!Network().connected)
        return;
    EnterCreation();
    UserConfig::Load();
    // The link stays in the menus' mode while the arena is on its way: no
    // message of a match not built yet is taken before it is.
    ClearForNetworkedScene();
    Player_LogicComp::ResetPlayerCount();
}

ClientSetup StepClientSide(GameState&)
{
    NetworkMgr& network = Network();
    if (network.setup_exchanged) {
        StartBuiltScene();
        return ClientSetup::Built;
    }
    Net::LevelRecord record{};
    if (network.connected && network.recv_type_0(record)) {
        network.menu_mode = 0;
        const bool built = BuildClientEntities(record);
        StartBuiltScene();
        return built ? ClientSetup::Built : ClientSetup::Failed;
    }
    if (!network.connected) {
        GiveUpLink("The link closed before the host sent its arena");
        return ClientSetup::Failed;
    }
    return ClientSetup::Waiting;
}

} // namespace NetworkedScene
