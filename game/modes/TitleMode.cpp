#include "game/modes/TitleMode.h"

#include "engine/audio/Emitter.h"
#include "engine/core/EntityManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/core/Random.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/net/PrematchHandlerList.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Renderer.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/TextComps.h"
#include "game/arena/HexGrid.h"
#include "game/arena/Palette.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/match/GridCreation.h"
#include "game/match/ModeSteps.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/TitleMenus.h"
#include "game/modes/GameMode.h"
#include "game/modes/LobbyMode.h"

#include <algorithm>

namespace TitleMode {

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kOrbitRadius = 25.0f;
constexpr float kOrbitStep = 0.001f;
constexpr float kCameraFoV = 60.0f;
constexpr float kSecondsBetweenTiles = 6.0f;
constexpr float kRiseSeconds = 1.0f;
constexpr float kRiseHeight = 5.0f;
constexpr float kMusicVolume = 0.4f;

const char* const kMusic = "Music";
const char* const kOpening = "Init";

Engine::EntityHandle gMenuEntity;
Background gBackground;

bool Used(std::int32_t tile) { return std::find(gBackground.used.begin(), gBackground.used.end(), tile) != gBackground.used.end(); }

// Tiles that may still rise: movable and not risen yet.
std::vector<std::int32_t> RisableTiles()
{
    const HexGrid& grid = HexGrid::GetInstance();
    std::vector<std::int32_t> tiles;
    for (std::size_t i = 0; i < grid.tiles.size(); ++i) {
        const auto number = static_cast<std::int32_t>(i);
        if (!Used(number) && !Engine::LogicManager::GetCompPtr<ImmovableTile>(grid.tiles[i]))
            tiles.push_back(number);
    }
    return tiles;
}

// False when no tile may rise any more.
bool ChooseNextTile()
{
    const std::vector<std::int32_t> tiles = RisableTiles();
    if (tiles.empty())
        return false;
    const std::int32_t tile = tiles[static_cast<std::size_t>(Engine::Random::RangeInt(0, static_cast<int>(tiles.size()) - 1))];
    const Engine::EntityHandle entity = HexGrid::GetInstance().Tile(static_cast<std::uint64_t>(tile));
    gBackground.tile = tile;
    gBackground.used.push_back(tile);
    gBackground.from = Engine::Transform::PositionRef(entity);
    gBackground.to = gBackground.from + kRiseHeight * *Engine::Transform::UpPtr(entity);
    return true;
}

// The border never rises: it is immovable, and listed as used.
void FreezeBorder()
{
    HexGrid& grid = HexGrid::GetInstance();
    gBackground.used.clear();
    for (const auto& edge : grid.edgeTiles) {
        for (std::int32_t number : edge) {
            Engine::LogicManager::GetInstance().AddComponent<ImmovableTile>(grid.Tile(static_cast<std::uint64_t>(number)));
            gBackground.used.push_back(number);
        }
    }
}

void BuildArena()
{
    GridCreation::SetDefaultSettings();
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    GridCreation::CreateGrid();
    Engine::LogicManager::GetInstance().InitializeLogicComponents();
    Engine::SceneManager::SetActive();
    FreezeBorder();
    Engine::Renderer::GetInstance().blurPath = true;
    PassPaletteToRenderer(CurrentPalette);
}

void MakeMenuEntity()
{
    gMenuEntity = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(gMenuEntity);
    Engine::CameraManager::GetInstance().AddComponent(gMenuEntity);
    Engine::GameCamera& camera = *Engine::CameraManager::GetInstance().GetCompPtr(gMenuEntity);
    camera.SetPosition({0.0f, 0.0f, kOrbitRadius});
    camera.SetTarget(glm::vec3(0.0f));
    camera.mFoV.value = kCameraFoV;

    Engine::LogicManager::GetInstance().AddComponent<Engine::Emitter>(gMenuEntity);
    auto* music = Engine::LogicManager::GetCompPtr<Engine::Emitter>(gMenuEntity);
    music->AddSound(kMusic, "data/Sounds/Music/Menus_loop_medio.wav", false);
    music->AddSound(kOpening, "data/Sounds/Music/Menus_loop_inicial.wav", false);
    music->Play(kOpening, false, false);
    music->SetVolume(kOpening, kMusicVolume);
}

Engine::Emitter* MenuMusic()
{
    if (!gMenuEntity.IsValid())
        return nullptr;
    return Engine::LogicManager::GetCompPtr<Engine::Emitter>(gMenuEntity);
}

void RefreshFonts(Engine::UI::LanguageChange&) { Engine::UI::ApplyFontToAllTexts(Engine::UI::GetLanguageFont()); }

} // namespace

Engine::EntityHandle MenuEntity() { return gMenuEntity; }

Background& GetBackground() { return gBackground; }

void UpdateBackgroundCamera()
{
    Background& b = gBackground;
    if (b.angle >= kTwoPi)
        b.angle -= kTwoPi;
    const glm::vec3 eye(kOrbitRadius * std::cos(b.angle), 0.0f, kOrbitRadius * std::sin(b.angle));
    if (gMenuEntity.IsValid()) {
        Engine::Transform::PositionRef(gMenuEntity) = eye;
        if (Engine::CameraManager::GetInstance().HasComponent(gMenuEntity))
            Engine::CameraManager::GetInstance().GetCompPtr(gMenuEntity)->SetPosition(eye);
    }
    b.angle += kOrbitStep;

    const HexGrid& grid = HexGrid::GetInstance();
    // Only a new tile restarts the timer: the last one stays where it rose.
    if (b.tileTimer > kSecondsBetweenTiles && b.used.size() < grid.tiles.size() && ChooseNextTile())
        b.tileTimer = 0.0f;
    const auto dt = static_cast<float>(Engine::FrameRateController::GetScaledDt());
    if (b.tileTimer > kRiseSeconds) {
        b.tileTimer += dt;
        return;
    }
    const Engine::EntityHandle tile = grid.Tile(static_cast<std::uint64_t>(b.tile));
    if (tile.IsValid())
        Engine::Transform::PositionRef(tile) = b.from + (b.to - b.from) * b.tileTimer;
    b.tileTimer += dt;
}

void UpdateMenuMusic()
{
    Engine::Emitter* music = MenuMusic();
    if (!music || !music->IsFinished(kOpening))
        return;
    music->Play(kMusic, true, false);
    music->SetVolume(kMusic, kMusicVolume);
}

void StopMenuMusic()
{
    Engine::Emitter* music = MenuMusic();
    if (!music)
        return;
    if (music->IsPlaying(kMusic)) {
        music->SetVolume(kMusic, 0.0f);
        music->Pause(kMusic);
        music->RemoveSound(kMusic);
    }
    music->Pause(kOpening);
    music->RemoveSound(kOpening);
}

void Init()
{
    Engine::UI::LayerStack& stack = Engine::UI::LayerStack::GetInstance();
    NetworkMgr& network = NetworkMgr::GetInstance();
    // Whatever came before (a tutorial keeps the title's layers) goes: the
    // title starts from its own page.
    stack.Clear();
    stack.Push(&LayerCreator::BuildTitleMenu, LayerCreator::kTitleLayer);
    if (network.timed_out)
        stack.Push(&LayerCreator::BuildConnectionLost, LayerCreator::kConnectionLostLayer);
    network.timed_out = 0;
    Engine::InputManager::GetInstance().cursorVisible = true;

    PrematchHandlerList::Remove(&LobbyMode::OnNetworkEvent);
    MenuEvents::AddOnce(MenuEvents::ReturnToTitle, &GameMode::SwitchToTitle);
    MenuEvents::AddOnce(MenuEvents::StartMatch, &GameMode::SwitchToGameplay);
    MenuEvents::AddOnce(MenuEvents::StartTutorial, &GameMode::SwitchToTutorial);
    Engine::UI::AddLanguageHandler(&RefreshFonts);

    ResetSceneSound();
    BuildArena();
    MakeMenuEntity();
}

void Update()
{
    if (Engine::InputManager::GetInstance().IsKeyTriggered(SDL_SCANCODE_F11))
        ToggleFullscreenAndSave();
    GameMode::UpdateUILayers();

    NetworkMgr& network = NetworkMgr::GetInstance();
    if (!network.connected && network.initialised) {
        if (network.server)
            network.listen();
        else
            network.connect();
    }
    if (network.connected || network.setup_exchanged)
        GameMode::Request(GameMode::Lobby);

    UpdateBackgroundCamera();
    UpdateMenuMusic();
}

void Shutdown()
{
    Engine::Renderer::GetInstance().blurPath = false;
    // A tutorial plays under the title's pages; anything else starts clean.
    const bool tutorialNext = GameMode::Pending.Init == GameMode::Tutorial.Init;
    if (!tutorialNext)
        Engine::UI::LayerStack::GetInstance().Clear();
    // The lobby keeps the arena behind its pages and a tutorial takes the
    // music off it first; otherwise (a match, or the end of the program) the
    // scene goes now, so nothing of it outlives the run.
    if (!tutorialNext && GameMode::Pending.Init != GameMode::Lobby.Init) {
        Engine::SceneManager::SetIdle();
        Engine::SceneManager::DestroySceneImmediately();
    }
    NetworkMgr& network = NetworkMgr::GetInstance();
    network.timed_out = 0;
    network.disconnecting = 0;
}

} // namespace TitleMode
