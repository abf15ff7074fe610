#pragma once
#include "engine/ui/Element.h"
#include "engine/ui/InteractionComps.h"
#include "game/menus/MenuLayers.h"

#include <cstdint>

// The credits page.
namespace LayerCreator {

void BuildCreditsMenu(LayerBuild& build);

// The credits show one of two views in their content canvas: titles (what
// the game is made with) or members (who made it).
bool CreditsShowTitles();
void ToggleCreditsView(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp);
void BuildCreditsTitles(Engine::UI::Canvas& content);
void BuildCreditsMembers(Engine::UI::Canvas& content);

} // namespace LayerCreator
