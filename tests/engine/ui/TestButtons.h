#pragma once
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/Element.h"
#include "engine/ui/InteractionComps.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/ScaleOnHoverComp.h"
#include "engine/ui/TextComps.h"

#include <cstdint>
#include <vector>

// A focusable button at a place in its parent (in the parent's half-sizes),
// with a text whose colour shows the focus.
inline Engine::UI::Widget* TestButton(Engine::UI::Canvas& parent, const glm::vec2& at,
                                      const glm::vec2& size = glm::vec2(0.1f, 0.05f))
{
    auto* button = parent.Make<Engine::UI::Widget>();
    button->SetRelativeSize(size);
    button->position = at;
    button->MakeComp<Engine::UI::DetectInteractionComp>();
    button->MakeComp<Engine::UI::ScaleOnHoverComp>();
    button->MakeComp<Engine::UI::PureTextComp>();
    return button;
}

inline Engine::UI::DetectInteractionComp* DetectorOf(Engine::UI::IElement* element)
{
    return element ? element->GetComp<Engine::UI::DetectInteractionComp>() : nullptr;
}

// Counts the runs of a button's action in its user value.
inline void CountRuns(std::uintptr_t counter, Engine::UI::RunActionOnInteractComp&)
{
    ++*reinterpret_cast<int*>(counter);
}

inline Engine::UI::RunActionOnInteractComp* CountActivations(Engine::UI::IElement& button, int& counter)
{
    return button.MakeComp<Engine::UI::RunActionOnInteractComp>(&CountRuns, reinterpret_cast<std::uintptr_t>(&counter));
}

// A root filling the window; `fill` adds the rest and names the focus.
template <class Fill>
Engine::UI::LayerBuilder TestLayer(Fill fill)
{
    return [fill](Engine::UI::LayerBuild& build) {
        build.root = std::make_unique<Engine::UI::Canvas>();
        build.root->SetRelativeSize(glm::vec2(1.0f));
        build.focus = fill(*build.root);
    };
}
