#pragma once
#include "engine/ui/ElementComp.h"

#include <cstdint>

namespace Engine::UI {

class DetectInteractionComp;

// Grows its element to the target scale over `duration` seconds while it has
// the focus and shrinks it back after. Focus moves by direction only go to
// elements that carry one.
class ScaleOnHoverComp : public IElemComp {
public:
    enum State : std::uint32_t { kRest = 0, kGrowing = 1, kGrown = 2, kShrinking = 3 };

    ScaleOnHoverComp(float target = 1.05f, float seconds = 0.075f) : targetScale(target), duration(seconds) {}

    void Init() override;
    void Update() override;

    float targetScale;
    float duration;
    std::uint32_t state = kRest;
    float t = 0.0f;

private:
    DetectInteractionComp* detector = nullptr;
};

} // namespace Engine::UI
