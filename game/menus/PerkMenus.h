#pragma once
#include "engine/ui/Element.h"
#include "engine/ui/InteractionComps.h"
#include "game/menus/MenuLayers.h"

#include <cstdint>
#include <string>

// The perk labels of a player and the lists their buttons open.
namespace LayerCreator {

// Two buttons side by side under `parent` for player index 0 or 1: "Active:
// <name>" and "Passive: <name>", kept up to date every frame; each opens the
// list of its kind for that player.
Engine::UI::Canvas& BuildPerkOptions(Engine::UI::Canvas& parent, std::uint32_t player);

// A label's text: the prefix and the name of the player's perk of that kind.
// A selection outside the lists shows the prefix alone.
std::u16string PerkLabelText(std::uint32_t player, bool active);

// The lists of active and passive perks, for the player SetEditedPlayer
// named last.
void BuildActivePerkDropdown(LayerBuild& build);
void BuildPassivePerkDropdown(LayerBuild& build);

// The player whose perks the next list edits.
void SetEditedPlayer(std::uint32_t player);
std::uint32_t EditedPlayer();

// The choice-list button action: its option's value goes into the perk
// setting the list edits, and the list shows the new choice.
void SelectPerk(std::uintptr_t value, Engine::UI::RunActionOnInteractComp& comp);

} // namespace LayerCreator
