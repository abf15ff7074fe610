#include "game/match/GameScene.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/Renderer.h"
#include "game/arena/HexGrid.h"
#include "game/arena/Palette.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/config/UserConfig.h"
#include "game/match/GameState.h"
#include "game/match/GridCreation.h"
#include "game/match/KillCamHud.h"
#include "game/match/MatchHookAnswers.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace GameScene {
namespace {

// The arena's settings come from the title screen or the host; a match
// started before either (straight from start-up) plays the default arena.
void EnsureArenaSettings()
{
    if (HexGrid::GetInstance().PlannedTileCount() == 0)
        GridCreation::SetDefaultSettings();
}

// The border tiles never move. They learn it at once, so that the list of
// immovable tiles is whole before a host copies it for its peer.
void MakeBorderImmovable()
{
    const HexGrid& grid = HexGrid::GetInstance();
    for (const std::vector<std::int32_t>& edges : grid.edgeTiles) {
        for (std::int32_t number : edges)
            MakeImmovable(grid.Tile(static_cast<std::uint64_t>(number)));
    }
}

Engine::EntityHandle MakeHud(const char* texture, const glm::vec3& at, const glm::vec3& scale)
{
    const Engine::EntityHandle hud = MakeHudEntity(at, scale);
    ShowHudTexture(hud, texture);
    return hud;
}

// A controller SDL knows how to map; a joystick without a mapping is none.
bool AnyGameController()
{
    const int joysticks = SDL_NumJoysticks();
    for (int i = 0; i < joysticks; ++i) {
        if (SDL_IsGameController(i))
            return true;
    }
    return false;
}

Player_LogicComp* PlayerOf(Engine::EntityHandle entity)
{
    return entity.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
}

void PlaceOnStart(Engine::EntityHandle player)
{
    const Player_LogicComp* component = PlayerOf(player);
    Engine::Transform::SetWorldPosition(player, StartPlace(component ? component->mPlayerNumber : 1));
}

} // namespace

// Player 1 starts at x = -10, player 2 at x = +10.
glm::vec3 StartPlace(int number) { return glm::vec3(number % 2 ? -10.0f : 10.0f, 0.0f, 0.0f); }

void MakeKillCamHud()
{
    const Engine::EntityHandle hud = MakeHud(KillCamHud::kTexture, glm::vec3(0.0f), glm::vec3(9.0f, 5.0f, 1.0f));
    if (!hud.IsNull())
        Engine::LogicManager::GetInstance().AddComponent<KillCamHud>(hud);
}

Engine::EntityHandle MakeBlankHud() { return MakeHud("", glm::vec3(-0.5f, 0.0f, 0.0f), glm::vec3(4.0f, 8.0f, 1.0f)); }

SpawnedPlayer SpawnLocalPlayer(int index, bool placeOnStart)
{
    const int slot = std::clamp(index, 0, 1);
    const bool gamepad = PlayerUsesGamepad[slot] && AnyGameController();
    SpawnedPlayer spawned;
    spawned.player = SpawnPlayer(gamepad);
    if (spawned.player.IsNull())
        return spawned;
    AttachPerks(spawned.player, index);
    // Every local player answers to the one name the rest of the game
    // looks its local player up by.
    Engine::SetEntityName(spawned.player, Net::Names::kLocalPlayer);
    if (placeOnStart)
        PlaceOnStart(spawned.player);
    spawned.ball = SpawnBall(spawned.player);
    return spawned;
}

void FaceBalls(const SpawnedPlayer& one, const SpawnedPlayer& two)
{
    if (Player_LogicComp* first = PlayerOf(one.player))
        first->mOpponentBall = two.ball;
    if (Player_LogicComp* second = PlayerOf(two.player))
        second->mOpponentBall = one.ball;
}

Engine::EntityHandle Build()
{
    FillHooksForMatch();
    UserConfig::Load();
    Player_LogicComp::ResetPlayerCount();
    EnsureArenaSettings();
    GridCreation::CreateGrid();
    MakeBorderImmovable();
    MakeKillCamHud();
    PassPaletteToRenderer(CurrentPalette);
    const Engine::EntityHandle blank = MakeBlankHud();

    std::vector<SpawnedPlayer> players;
    const int count = std::clamp(PlayerCount, 1, 2);
    for (int i = 0; i < count; ++i)
        players.push_back(SpawnLocalPlayer(i, true));
    if (players.size() == 2)
        FaceBalls(players[0], players[1]);
    return blank;
}

void MakeImmovable(Engine::EntityHandle tile)
{
    if (tile.IsNull())
        return;
    Engine::LogicManager::GetInstance().AddComponent<ImmovableTile>(tile);
    Engine::LogicManager::GetCompPtr<ImmovableTile>(tile)->Initialize();
}

void StartServer()
{
    NetworkMgr& network = NetworkMgr::GetInstance();
    if (network.connected)
        return;
    if (!network.initialised)
        network.server_init();
    network.listen();
}

void StartClient(GameState& state)
{
    NetworkMgr& network = NetworkMgr::GetInstance();
    if (network.connected)
        return;
    if (!network.initialised && !network.client_init(state.joinAddress.c_str()))
        return;
    network.connect();
}

} // namespace GameScene

void GameScene::ResetPlayerChoice()
{
    PlayerCount = kFirstPlayerCount;
    std::fill(std::begin(PlayerUsesGamepad), std::end(PlayerUsesGamepad), kFirstUsesGamepad);
}
