#include "game/modes/LobbyMode.h"

#include "engine/core/InputManager.h"
#include "engine/core/SceneManager.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NetworkMgr.h"
#include "engine/net/PrematchHandlerList.h"
#include "engine/ui/LayerStack.h"
#include "game/arena/MatchRecorder.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/PrematchMenus.h"
#include "game/menus/PrematchState.h"
#include "game/modes/GameMode.h"
#include "game/modes/TitleMode.h"

// The two machines are linked: they agree on the match's perks here, over
// the title's background, until the host starts the match.
namespace LobbyMode {

void OnNetworkEvent(PrematchMessage* message)
{
    switch (message->kind) {
    case Net::Prematch::kState:
        LayerCreator::RemotePrematch() = LayerCreator::PairFromValueField(message->value);
        break;
    case Net::Prematch::kStartMatch:
        // The host decides when the match starts; a client's word would
        // start a host that is not ready.
        if (!NetworkMgr::GetInstance().server)
            MenuEvents::Raise(MenuEvents::StartMatch);
        break;
    case Net::Prematch::kBackToTitle:
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
