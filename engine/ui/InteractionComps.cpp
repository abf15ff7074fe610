#include "engine/ui/InteractionComps.h"

#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/Element.h"
#include "engine/ui/LayerStack.h"

namespace Engine::UI {

namespace {

LayerStack* StackOf(const IElemComp& comp)
{
    Layer* layer = comp.owner ? comp.owner->GetRootLayer() : nullptr;
    return layer ? layer->stack : nullptr;
}

} // namespace

void OnInteractComp::Init() { detector = owner->GetComp<DetectInteractionComp>(); }

void OnInteractComp::Update()
{
    if (!detector)
        detector = owner->GetComp<DetectInteractionComp>();
    if (detector && detector->activated)
        Act();
}

void CreateLayerOnInteractComp::Act()
{
    if (LayerStack* stack = StackOf(*this))
        stack->RequestPush(builder, layerName);
}

void PopLayerOnInteractComp::Act()
{
    if (LayerStack* stack = StackOf(*this))
        stack->RequestPop();
}

void RunActionOnInteractComp::Act()
{
    if (action)
        action(userValue, *this);
}

} // namespace Engine::UI
