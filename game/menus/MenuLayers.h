#pragma once
#include "engine/ui/Layer.h"

// The names the game's menu pages stand under on the layer stack. Each
// page's builder, declared with its page, fills a new layer's tree and names
// the element that takes the first focus.
namespace LayerCreator {

using Engine::UI::LayerBuild;

// Title and the road to a match.
inline constexpr const char* kTitleLayer = "Title Screen";
inline constexpr const char* kPlayLayer = "StartGame";
inline constexpr const char* kHostWaitLayer = "WaitForOtherPlayer";
inline constexpr const char* kEnterAddressLayer = "TypeIP";
inline constexpr const char* kConnectingLayer = "ConnectingToServer";
inline constexpr const char* kConfirmQuitLayer = "ConfirmQuit";
inline constexpr const char* kConnectionLostLayer = "ConnectionLostError";
inline constexpr const char* kHostErrorLayer = "HostError";
inline constexpr const char* kJoinErrorLayer = "JoinError";

// Settings and the pause menu.
inline constexpr const char* kOptionsLayer = "Options";
inline constexpr const char* kLanguageLayer = "Language Screen";
inline constexpr const char* kPauseLayer = "PauseMenu";

// Before a match: perks on or off, and each player's perks.
inline constexpr const char* kLocalPrematchLayer = "CreateLocalPrematchOptions";
inline constexpr const char* kPlayer1PerksLayer = "Config_Player1";
inline constexpr const char* kPlayer2PerksLayer = "Config_Player2";
inline constexpr const char* kHostPrematchLayer = "HostPrematchOptions";
inline constexpr const char* kClientWaitLayer = "ClientWaitMenu";
inline constexpr const char* kNetworkPerksLayer = "RemoteSetLocalPrefs";
inline constexpr const char* kActivePerkLayer = "SelectActivePerk";
inline constexpr const char* kPassivePerkLayer = "SelectPassivePerk";

// Credits and tutorials.
inline constexpr const char* kCreditsLayer = "Credits";
inline constexpr const char* kTutorialLayer = "Tutorial";
inline constexpr const char* kTutorialOverlayLayer = "TutorialTextOverlay";

} // namespace LayerCreator
