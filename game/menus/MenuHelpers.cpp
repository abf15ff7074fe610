#include "game/menus/MenuHelpers.h"

#include "engine/ui/LayerStack.h"
#include "engine/ui/TextComps.h"

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;

Canvas& MakeRoot(Engine::UI::LayerBuild& build, const glm::vec2& size)
{
    build.root = std::make_unique<Canvas>();
    build.root->SetRelativeSize(size);
    return *build.root;
}

Canvas& MakeCanvas(Canvas& parent, const glm::vec2& size, const glm::vec2& position, const glm::vec2& anchor)
{
    auto* canvas = parent.Make<Canvas>();
    Place(*canvas, position, size, anchor);
    return *canvas;
}

void Place(IElement& element, const glm::vec2& position, const glm::vec2& size, const glm::vec2& anchor)
{
    element.SetSizeMode(IElement::kRelative);
    element.position = position;
    element.anchor = anchor;
    element.SetRelativeSize(size);
}

void OpensLayer(IElement& button, void (*builder)(Engine::UI::LayerBuild&), const char* name)
{
    button.MakeComp<Engine::UI::CreateLayerOnInteractComp>(builder, name);
}

void ClosesLayer(IElement& button) { button.MakeComp<Engine::UI::PopLayerOnInteractComp>(); }

void Runs(IElement& button, ButtonAction action, std::uintptr_t value)
{
    button.MakeComp<Engine::UI::RunActionOnInteractComp>(action, value);
}

void RunsEveryFrame(IElement& element, Engine::UI::CustomUpdateComp::Function function)
{
    element.MakeComp<Engine::UI::CustomUpdateComp>(function);
}

Engine::UI::BaseTextComp* TextOf(const IElement& element) { return element.GetComp<Engine::UI::BaseTextComp>(); }

Engine::UI::LocaleTextComp* LocaleTextOf(const IElement& element)
{
    return element.GetComp<Engine::UI::LocaleTextComp>();
}

Engine::UI::PureTextComp* PureTextOf(const IElement& element) { return element.GetComp<Engine::UI::PureTextComp>(); }

Engine::UI::LayerStack& StackOf(IElement& element)
{
    Engine::UI::Layer* layer = element.GetRootLayer();
    return layer && layer->stack ? *layer->stack : Engine::UI::LayerStack::GetInstance();
}

} // namespace LayerCreator
