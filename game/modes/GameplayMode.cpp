#include "game/modes/GameplayMode.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/core/SceneManager.h"
#include "engine/frame/Core.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/Renderer.h"
#include "engine/ui/LayerStack.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/config/MovementSlots.h"
#include "game/match/FloorTileArchetype.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/match/GridCreation.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/match/NetworkedScene.h"
#include "game/match/ModeSteps.h"
#include "game/menus/LanguageAndPause.h"
#include "game/menus/MenuLayers.h"
#include "game/modes/GameMode.h"

#include <SDL.h>

namespace GameplayMode {

namespace {

const char* const kPauseLayer = "PauseMenu";

NetworkMgr& Network() { return NetworkMgr::GetInstance(); }
bool Connected() { return Network().connected != 0; }
MatchRecorder& Recorder() { return MatchRecorder::GetInstance(); }
Engine::UI::LayerStack& Layers() { return Engine::UI::LayerStack::GetInstance(); }
Engine::InputManager& Input() { return Engine::InputManager::GetInstance(); }

// A client's arena comes from the host, in some frame after Init: until
// then the frames go on with nothing to play, so that the window lives.
enum class Arena { Ready, Awaited, Lost };
Arena gArena = Arena::Ready;

// Whether there is an arena to play on this frame; takes the host's arena
// when it has come. A link lost meanwhile sends the mode to the title.
bool ArenaReady()
{
    if (gArena != Arena::Awaited)
        return gArena == Arena::Ready;
    switch (NetworkedScene::StepClientSide(GameState::GetInstance())) {
    case NetworkedScene::ClientSetup::Waiting:
        break;
    case NetworkedScene::ClientSetup::Built:
        gArena = Arena::Ready;
        GameState::Reset();
        break;
    case NetworkedScene::ClientSetup::Failed:
        gArena = Arena::Lost;
        GameMode::Request(GameMode::Title);
        break;
    }
    return gArena == Arena::Ready;
}

// Both machines play on the host's arena: the host builds and sends it,
// the client waits for it and builds the same.
void BuildNetworkedScene()
{
    GameScene::Build();
    Engine::SpatialCollisionMgr::GetInstance().UpdateAll();
    Engine::SceneManager::SetIdle();
    FloorTileArchetype::CreateFloorTiles(GridCreation::kTileArchetype, HexGrid::GetInstance().tileScale);
    GameState& state = GameState::GetInstance();
    if (Network().server) {
        NetworkedScene::BuildServerSide(state);
        GameState::Reset();
        return;
    }
    NetworkedScene::BeginClientSide(state);
    gArena = Arena::Awaited;
    // The host's arena may be here already.
    ArenaReady();
}

// A live match whose link broke goes back to the title; a replay plays on.
void LeaveOnLostConnection()
{
    if ((Network().timed_out || Network().disconnecting) && Recorder().isLive)
        GameMode::Request(GameMode::Title);
}

// The recorder plays the match's best moment from now on. A networked peer
// is told first, and the records still unacknowledged (the final score, this
// one) keep being sent: only what arrived is dropped.
void StartReplay()
{
    GameMode::EndRequested = 0;
    Recorder().isLive = 0;
    if (Connected()) {
        Network().send_type_8(Net::Flow{1, 0, 0});
        Network().flow_flags[NetworkMgr::kFreezeTraffic] = 1;
    }
    Network().clear_received_queues();
}

void ReturnToTitle()
{
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::SetCreation();
    GameState::ResetEvents(true);
    Recorder().GoLive();
    GameMode::Request(GameMode::Title);
    GameMode::ReturnRequested = 0;
}

bool PauseButtonTriggered()
{
    const Engine::InputManager& input = Input();
    for (const auto& [id, controller] : input.GetPlayerControllers()) {
        if (input.IsControllerButtonTriggered(SDL_CONTROLLER_BUTTON_START, controller))
            return true;
    }
    return false;
}

// Escape or a controller's start button opens and closes the pause menu in
// live play, and losing focus opens it. A replay has no pause: a menu left
// open when it starts is closed, and nothing opens one while it plays (the
// menu would otherwise come back every other frame).
void StepPauseMenu()
{
    Engine::UI::LayerStack& layers = Layers();
    Engine::UI::Layer* menu = layers.Find(kPauseLayer);
    GameMode::PauseMenuOpen = menu != nullptr;
    const bool live = Recorder().isLive != 0;
    const bool toggle = live && (Input().IsKeyTriggered(SDL_SCANCODE_ESCAPE) || PauseButtonTriggered());
    if (menu && (toggle || !live)) {
        layers.PopN(layers.IndexFromTop(menu));
    } else if (!menu && live && (toggle || !Input().HasKeyboardFocus())) {
        layers.RequestPush(&LayerCreator::BuildPauseMenu, kPauseLayer);
    }
}

// The local players stand still while the menu is open; their camera look
// is frozen through the radial-menu flag, which is handed back when the
// menu closes (a mode menu the player holds open is left alone). The menu
// closing closes every mode menu, and with them goes the pointer they
// freed: a mode-menu key let go behind the pause menu is never seen let go.
// What the hands did in the menu stays there: the click on Resume, still
// held, would charge and throw the ball, and the pointer's way over the
// menu would turn the view. A held walk or run goes on.
void MirrorPauseOnPlayers(bool wasOpen)
{
    const bool open = GameMode::PauseMenuOpen != 0;
    if (wasOpen && !open) {
        Input().menuPointerShown = false;
        Input().HoldBackUntilLetGo(MovementSlots::Keys(), MovementSlots::PadButtons());
    }
    for (Engine::EntityHandle entity : Engine::EntityNameCompManager::GetInstance().FindEntitiesByNamePrefix("Player_")) {
        Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
        if (!player)
            continue;
        player->mPaused = open;
        if (open || wasOpen)
            player->mRadialOpen = open;
    }
}

// The match music stops where it is: the opening part, or the loop after it.
void PauseMatchMusic()
{
    const auto players = Engine::EntityNameCompManager::GetInstance().FindEntitiesByNamePrefix("Player");
    if (players.empty())
        return;
    Engine::Emitter* emitter = Engine::LogicManager::GetCompPtr<Engine::Emitter>(players.front());
    if (!emitter)
        return;
    if (emitter->IsFinished("GameplayInit"))
        emitter->Pause("GameplayMiddle");
    else
        emitter->Pause("GameplayInit");
}

} // namespace

void Init()
{
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    ResetSceneSound();
    Recorder().isRecording = 1;
    Engine::SceneManager::SetCreation();
    gArena = Arena::Ready;
    if (!Connected())
        BuildLocalScene();
    else
        BuildNetworkedScene();
    Recorder().GoLive();
    Input().cursorVisible = false;
}

void Update()
{
    LeaveOnLostConnection();
    if (Input().IsKeyTriggered(SDL_SCANCODE_F11))
        ToggleFullscreenAndSave();
    Input().cursorVisible = GameMode::PauseMenuOpen != 0;
    if (!ArenaReady()) {
        // Nothing to play yet; the pause menu still leaves the match.
        GameMode::UpdateUILayers();
        StepPauseMenu();
        return;
    }
    if (!(GameMode::Paused && Connected()))
        GameState::Update();
    if (GameMode::EndRequested)
        StartReplay();
    if (GameMode::ReturnRequested)
        ReturnToTitle();
    if (!GameMode::Paused)
        Recorder().Update();
    GameMode::UpdateUILayers();

    const bool wasOpen = GameMode::PauseMenuOpen != 0;
    StepPauseMenu();
    GameMode::Paused = GameMode::PauseMenuOpen && !Connected();
    MirrorPauseOnPlayers(wasOpen);
    Engine::Core::GetInstance().SetPaused(GameMode::Paused != 0);
}

void Shutdown()
{
    gArena = Arena::Ready;
    if (Connected())
        Network().Disconnect();
    GameMode::Pending = GameMode::Title;
    PauseMatchMusic();
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    Layers().Clear();
    // The pause menu went with the layers: the next match starts unpaused.
    GameMode::PauseMenuOpen = GameMode::Paused = 0;
    // A mode menu held open to the end goes with its player: the next match
    // captures the mouse.
    Input().menuPointerShown = false;
    Engine::Core::GetInstance().SetPaused(false);
    // Only the end of the slow motion and the first live frame after a
    // replay undo these; a match left before them would leave the menus
    // slowed, undrawn or in the replay's look.
    Engine::FrameRateController::SetTimeScale(1.0);
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.renderingEnabled = true;
    renderer.postProcessing.flag1 = false;
    Recorder().GoLive();
}

} // namespace GameplayMode
