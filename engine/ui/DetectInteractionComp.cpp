#include "engine/ui/DetectInteractionComp.h"

#include "engine/ui/Element.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/MenuSounds.h"
#include "engine/ui/TextComps.h"
#include "engine/ui/UiHost.h"

namespace Engine::UI {

namespace {

// The colour the focused text had before it took the highlight; one for
// all, as only one element is focused at a time.
glm::vec4 gNormalTextColour{1.0f};

bool AnyPad(bool (UiHost::*query)(int, std::uint8_t) const, std::uint8_t button)
{
    const UiHost& host = Host();
    for (int pad = 0; pad < host.PadCount(); ++pad) {
        if ((host.*query)(pad, button))
            return true;
    }
    return false;
}

} // namespace

DetectInteractionComp::~DetectInteractionComp()
{
    if (Layer* layer = GetLayer(); layer && layer->focused == this)
        layer->focused = nullptr;
}

Layer* DetectInteractionComp::GetLayer() const { return owner ? owner->GetRootLayer() : nullptr; }

bool DetectInteractionComp::IsFocused() const
{
    const Layer* layer = GetLayer();
    return layer && layer->focused == this;
}

void DetectInteractionComp::Update()
{
    Layer* layer = GetLayer();
    const glm::vec2 mouse = layer && layer->stack ? layer->stack->mouse : glm::vec2(0.0f);
    const bool moved = Host().MouseNow() != Host().MouseBefore();
    const bool live = layer && layer->stack && layer->stack->IsTop(layer);
    if (moved && live && layer->focused != this && owner->Contains(mouse))
        LayerStack::SetFocus(layer, this);
    released = 0;
    mouseOffset = mouse - owner->GetAnchorPoint();
}

void DetectInteractionComp::StepActivation()
{
    const UiHost& host = Host();
    activated = 0;
    released = 0;
    const Layer* layer = GetLayer();
    const glm::vec2 mouse = layer && layer->stack ? layer->stack->mouse : glm::vec2(0.0f);
    const bool clicked = host.MouseTriggered(0) && owner->Contains(mouse);
    if (clicked || host.KeyTriggered(kSpace) || host.KeyTriggered(kReturn)
        || AnyPad(&UiHost::PadButtonTriggered, kPadA)) {
        activated = 1;
        MenuSounds::PlayClick();
        return;
    }
    if (host.MouseReleased(0) || host.KeyReleased(kSpace) || host.KeyReleased(kReturn)
        || AnyPad(&UiHost::PadButtonReleased, kPadA))
        released = 1;
}

void DetectInteractionComp::OnFocus()
{
    if (auto* text = owner->GetComp<BaseTextComp>()) {
        gNormalTextColour = text->colour;
        text->colour = kHighlight;
    }
    MenuSounds::PlayHover();
}

void DetectInteractionComp::OnUnfocus()
{
    if (auto* text = owner->GetComp<BaseTextComp>())
        text->colour = gNormalTextColour;
    if (activated) {
        activated = 0;
        released = 1;
    }
}

} // namespace Engine::UI
