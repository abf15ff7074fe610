#include "game/menus/MenuActions.h"

#include "engine/core/InputManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/ui/Element.h"
#include "engine/ui/LayerStack.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/menus/AddressField.h"
#include "game/menus/MenuEvents.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/TitleMenus.h"

#include <cstdio>

namespace LayerCreator {

void StartServer()
{
    GameScene::StartServer();
    GameScene::PlayerCount = 1;
    std::fputs("Start server.\n", stderr);
}

void CloseServer()
{
    NetworkMgr::GetInstance().Disconnect();
    std::fputs("Close server.\n", stderr);
}

void AbortClientConnection()
{
    std::fputs("Request network shutdown (abort client connection).\n", stderr);
    NetworkMgr::GetInstance().Disconnect();
}

void ConnectToTypedAddress()
{
    EnterIPComponent* field = EnterIPComponent::Active();
    if (!field)
        return;
    const JoinAddress parsed = ParseJoinAddress(field->Text());
    if (parsed.result == JoinAddress::Result::kNotAnAddress) {
        std::fputs("Given text does not form an IPv4 address and port!\n", stderr);
        StackOf(*field->owner).RequestPush(&BuildNotAnAddress, kJoinErrorLayer);
        return;
    }
    if (parsed.result == JoinAddress::Result::kPortOutOfRange) {
        std::fputs("Input port is out of range (0 to 65535)!\n", stderr);
        StackOf(*field->owner).RequestPush(&BuildPortOutOfRange, kJoinErrorLayer);
        return;
    }
    if (!parsed.hasPort)
        std::fputs("Did not enter port - set port to default instead (8008).\n", stderr);
    if (parsed.result == JoinAddress::Result::kNotIpv4) {
        std::fprintf(stderr, "Input address (%s) did not have proper IPv4 format!\n", parsed.address.c_str());
        StackOf(*field->owner).RequestPush(&BuildNotAnAddress, kJoinErrorLayer);
        return;
    }
    GameState& state = GameState::GetInstance();
    state.joinAddress = parsed.address;
    StackOf(*field->owner).RequestPush(&BuildConnectingMenu, kConnectingLayer);
    std::fputs("Start network (client connecting to server).\n", stderr);
    GameScene::StartClient(state);
    GameScene::PlayerCount = 1;
}

void QuitProgram() { Engine::InputManager::GetInstance().RequestQuit(); }

void QuitToTitle()
{
    NetworkMgr& network = NetworkMgr::GetInstance();
    if (network.connected)
        network.Disconnect();
    MenuEvents::Raise(MenuEvents::ReturnToTitle);
}

void LeaveLobby() { QuitToTitle(); }

} // namespace LayerCreator
