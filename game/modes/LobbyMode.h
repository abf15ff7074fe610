#pragma once

struct PrematchMessage;

// The lobby: the two linked machines agree on the match over the title's
// background. Its entry points stand with the other modes' in GameMode.h.
namespace LobbyMode {
// The lobby's handler of pre-match messages from the peer.
void OnNetworkEvent(PrematchMessage* message);
} // namespace LobbyMode
