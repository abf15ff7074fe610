#include "game/modes/LobbyMode.h"

#include "engine/core/InputManager.h"
#include "engine/core/SceneManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/net/PrematchHandlerList.h"
#include "engine/ui/LayerStack.h"
#include "game/arena/MatchRecorder.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/PrematchState.h"
#include "game/modes/GameMode.h"
#include "game/modes/TitleMode.h"

// The two machines are linked: they agree on the match's perks here, over
// the title's background, until the host starts the match.
namespace LobbyMode {

namespace {

// Kinds of the peer's pre-match messages.
constexpr std::uint32_t kPrematchState = 0;
constexpr std::uint32_t kStartMatch = 1;
constexpr std::uint32_t kBackToTitle = 2;

} // namespace

void OnNetworkEvent(PrematchMessage* message)
{
    switch (message->kind) {
    case kPrematchState:
        LayerCreator::RemotePrematch() = LayerCreator::PairFromValueField(message->value);
        break;
    case kStartMatch:
        // The host decides when the match starts; a client's word would
        // start a host that is not ready.
        if (!NetworkMgr::GetInstance().server)
            MenuEvents::Raise(MenuEvents::StartMatch);
        break;
    case kBackToTitle:
        if (GameMode::IsCurrent(GameMode::Lobby)) {
            // An open link would take the title straight back here.
            NetworkMgr& network = NetworkMgr::GetInstance();
            if (network.connected)
                network.Disconnect();
            GameMode::Request(GameMode::Title);
        }
        break;
    default:
        break;
    }
}

void Init()
{
    Engine::InputManager::GetInstance().cursorVisible = true;
    PrematchHandlerList::AddOnce(&OnNetworkEvent);
    Engine::UI::LayerStack& stack = Engine::UI::LayerStack::GetInstance();
    if (NetworkMgr::GetInstance().server)
        stack.Push(&LayerCreator::BuildHostPrematch, LayerCreator::kHostPrematchLayer);
    else
        stack.Push(&LayerCreator::BuildClientWait, LayerCreator::kClientWaitLayer);
}

void Update()
{
    const NetworkMgr& network = NetworkMgr::GetInstance();
    if ((network.timed_out || network.disconnecting) && MatchRecorder::GetInstance().isLive)
        GameMode::Request(GameMode::Title);
    GameMode::UpdateUILayers();
    TitleMode::UpdateBackgroundCamera();
    TitleMode::UpdateMenuMusic();
}

void Shutdown()
{
    TitleMode::StopMenuMusic();
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    Engine::UI::LayerStack::GetInstance().Clear();
    MenuEvents::Remove(MenuEvents::StartMatch, &GameMode::SwitchToGameplay);
}

} // namespace LobbyMode
