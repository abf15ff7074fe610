#pragma once
#include "engine/ui/Element.h"
#include "engine/ui/InteractionComps.h"
#include "game/menus/MenuLayers.h"

#include <cstdint>

// The language page, the pause menu, and the frame the options and language
// pages share.
namespace LayerCreator {

void BuildLanguageMenu(LayerBuild& build);
void BuildPauseMenu(LayerBuild& build);

// A language button: the language changes and is saved at once.
void SelectLanguage(std::uintptr_t language, Engine::UI::RunActionOnInteractComp& comp);

// The options and language pages' frame: a dark panel hanging from the top
// (what it returns is the padded canvas inside it) and a back button along
// the bottom.
Engine::UI::Canvas& MakeCentralPanel(Engine::UI::Canvas& root);
Engine::UI::Widget* MakeBackButton(Engine::UI::Canvas& root);
inline constexpr float kSettingsTextSize = 0.6f;

} // namespace LayerCreator
