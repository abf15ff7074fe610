#pragma once

struct PrematchMessage;

// The lobby: the two linked machines agree on the match over the title's
// background.
namespace LobbyMode {
// The mode's entry points.
void Init();
void Update();
void Shutdown();
// The lobby's handler of pre-match messages from the peer.
void OnNetworkEvent(PrematchMessage* message);
} // namespace LobbyMode
