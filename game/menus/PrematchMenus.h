#pragma once
#include "engine/ui/InteractionComps.h"
#include "game/menus/MenuLayers.h"

// The pre-match pages (perks on or off, each player's perks, the networked
// lobby's pages), their actions and per-frame checks.
namespace LayerCreator {

void BuildLocalPrematch(LayerBuild& build);
void BuildPlayer1Perks(LayerBuild& build);
void BuildPlayer2Perks(LayerBuild& build);
void BuildHostPrematch(LayerBuild& build);
void BuildClientWait(LayerBuild& build);
void BuildNetworkPerks(LayerBuild& build);

void TogglePerksEnabled();
// The local "Continue"/"Start match" button: the perk choice when perks
// are on, the match at once when they are off.
void LocalStart(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp);
void UpdateLocalStartButton(Engine::UI::CustomUpdateComp& comp);

// The host decides: perk choice on both sides, or the match at once.
void HostReady(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp);
// The client follows the host's decision.
void ClientAwaitHost(Engine::UI::CustomUpdateComp& comp);
// Ready and not ready in turn; the button says which one pressing it sends.
void ToggleReady(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp);
// The host starts the match once both sides are ready, and tells the
// client to start; the client waits for that word.
void CheckBothReady(Engine::UI::CustomUpdateComp& comp);

} // namespace LayerCreator
