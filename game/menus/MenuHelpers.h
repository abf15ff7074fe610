#pragma once
#include "engine/ui/Element.h"
#include "engine/ui/InteractionComps.h"
#include "engine/ui/LayerStack.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <string>

namespace Engine::UI {
class BaseTextComp;
class LocaleTextComp;
class PureTextComp;
} // namespace Engine::UI

// Small pieces every menu page is put together from.
namespace LayerCreator {

// A new root canvas for the layer, of the relative size, at the centre.
Engine::UI::Canvas& MakeRoot(Engine::UI::LayerBuild& build, const glm::vec2& size = glm::vec2(1.0f));
// A child canvas of the relative size, at `position`, with its `anchor`.
Engine::UI::Canvas& MakeCanvas(Engine::UI::Canvas& parent, const glm::vec2& size,
                               const glm::vec2& position = glm::vec2(0.0f), const glm::vec2& anchor = glm::vec2(0.0f));
// Moves and sizes an element (relative mode).
void Place(Engine::UI::IElement& element, const glm::vec2& position, const glm::vec2& size,
           const glm::vec2& anchor = glm::vec2(0.0f));

// What a button does when it is activated.
void OpensLayer(Engine::UI::IElement& button, void (*builder)(Engine::UI::LayerBuild&), const char* name);
void ClosesLayer(Engine::UI::IElement& button);
using ButtonAction = Engine::UI::RunActionOnInteractComp::Action;
void Runs(Engine::UI::IElement& button, ButtonAction action, std::uintptr_t value = 0);
void RunsEveryFrame(Engine::UI::IElement& element, Engine::UI::CustomUpdateComp::Function function);

// A button action that takes nothing.
template <void (*Function)()>
void Call(std::uintptr_t, Engine::UI::RunActionOnInteractComp&)
{
    Function();
}

// The element's first text of that kind; null when it has none.
Engine::UI::BaseTextComp* TextOf(const Engine::UI::IElement& element);
Engine::UI::LocaleTextComp* LocaleTextOf(const Engine::UI::IElement& element);
Engine::UI::PureTextComp* PureTextOf(const Engine::UI::IElement& element);

// The layer stack that holds the element's tree: the game's own when the
// tree is not on a stack (yet).
Engine::UI::LayerStack& StackOf(Engine::UI::IElement& element);

} // namespace LayerCreator
