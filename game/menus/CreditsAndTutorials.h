#pragma once
#include "engine/ui/Element.h"
#include "engine/ui/InteractionComps.h"
#include "game/menus/MenuEvents.h"

#include <array>
#include <cstdint>

namespace LayerCreator {

// The tutorials in the order the list shows them: the button's text id (its
// explanation is the next id), whether the recording has two players, and
// the recording's file name.
inline constexpr std::array<TutorialTableRow, 13> kTutorialTable{{
    {98, 0, "TileBending.json"},
    {100, 0, "Run.json"},
    {102, 0, "Rocket.json"},
    {104, 0, "DoubleJump.json"},
    {106, 0, "Shield.json"},
    {108, 1, "Stun.json"},
    {110, 1, "ChargeShot.json"},
    {112, 0, "Energy.json"},
    {114, 0, "Teleport.json"},
    {116, 1, "ScorePoints.json"},
    {120, 0, "EventRotate.json"},
    {122, 0, "EventPillars.json"},
    {124, 1, "EventBall.json"},
}};

// The explanation the overlay shows while a tutorial plays.
std::uint32_t TutorialOverlayText();

// A tutorial button: the overlay goes up at once and the tutorial is asked
// for with the button's row.
void StartTutorial(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp);
// The overlay's back button: the recorder goes live, which ends the playback.
void EndTutorial();

// The credits show one of two views in their content canvas: titles (what
// the game is made with) or members (who made it).
bool CreditsShowTitles();
void ToggleCreditsView(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp);
void BuildCreditsTitles(Engine::UI::Canvas& content);
void BuildCreditsMembers(Engine::UI::Canvas& content);

} // namespace LayerCreator
