#pragma once
#include "engine/ui/InteractionComps.h"
#include "game/menus/MenuLayers.h"

#include <cstdint>
#include <ctime>
#include <glm/glm.hpp>
#include <string>

// The title and the road to a match: the title, play, host's waiting, join
// (address and connecting), quit and lost-connection pages, and their pieces
// that run every frame.
namespace LayerCreator {

void BuildTitleMenu(LayerBuild& build);
void BuildPlayMenu(LayerBuild& build);
void BuildHostWaitMenu(LayerBuild& build);
void BuildEnterAddressMenu(LayerBuild& build);
void BuildConnectingMenu(LayerBuild& build);
void BuildConfirmQuit(LayerBuild& build);
void BuildConnectionLost(LayerBuild& build);
// The host's or the client's socket did not open, or its first sends
// failed: the game's port is taken, or the system's words for what else
// kept the link shut.
void BuildHostError(LayerBuild& build);
void BuildJoinError(LayerBuild& build);
// The join screen's text is no IPv4 address (with or without a port).
void BuildNotAnAddress(LayerBuild& build);
// The join screen's port is past 65535.
void BuildPortOutOfRange(LayerBuild& build);

// The logo's relative size in a root of `rootPixels`: 0.4 of the height, and
// as wide as the texture's whole-number aspect (width / height, rounded
// down) makes it on screen. A texture without an image has no width.
glm::vec2 LogoRelativeSize(int textureWidth, int textureHeight, const glm::vec2& rootPixels);
// Keeps the logo's size as the window changes.
void FitLogo(Engine::UI::CustomUpdateComp& comp);

// The text of `textId` followed by (seconds mod 4) full stops.
std::u16string WaitingText(std::uint32_t textId, std::time_t seconds);
// Shows the waiting text of the id on the element's pure text.
void ShowWaitingText(Engine::UI::CustomUpdateComp& comp, std::uint32_t textId);
template <std::uint32_t TextId>
void UpdateWaitingText(Engine::UI::CustomUpdateComp& comp)
{
    ShowWaitingText(comp, TextId);
}

// The host's waiting page and the connecting page close themselves when no
// server or client is open, so there is nothing to wait for: with the
// message when it failed to open (the network manager said why), silently
// when the player closed it (stop hosting, cancel). True when it failed;
// the page then opens its error page in its place.
bool CloseWhenLinkNotOpen(Engine::UI::CustomUpdateComp& comp, const char* message);
void CloseHostWaitWhenNotOpen(Engine::UI::CustomUpdateComp& comp);
void CloseConnectingWhenNotOpen(Engine::UI::CustomUpdateComp& comp);

} // namespace LayerCreator
