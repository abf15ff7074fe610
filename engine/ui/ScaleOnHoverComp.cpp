#include "engine/ui/ScaleOnHoverComp.h"

#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/Element.h"
#include "engine/ui/UiHost.h"

namespace Engine::UI {

void ScaleOnHoverComp::Init() { detector = owner->GetComp<DetectInteractionComp>(); }

void ScaleOnHoverComp::Update()
{
    if (!detector)
        detector = owner->GetComp<DetectInteractionComp>();
    // A zero duration jumps straight to the end instead of dividing by 0.
    const float step = duration > 0.0f ? Host().FrameTime() / duration : 2.0f;
    if (state == kGrowing)
        t += step;
    else if (state == kShrinking)
        t -= step;
    owner->SetScale((1.0f - t) + t * targetScale);

    const bool focused = detector && detector->IsFocused();
    if (focused) {
        if (state == kRest || state == kShrinking)
            state = kGrowing;
        else if (state == kGrowing && t > 1.0f) {
            t = 1.0f;
            state = kGrown;
        }
    } else {
        if (state == kGrowing || state == kGrown)
            state = kShrinking;
        else if (state == kShrinking && t < 0.0f) {
            t = 0.0f;
            state = kRest;
        }
    }
}

} // namespace Engine::UI
