#include "game/components/tile/ColourCollider.h"

#include "engine/core/Math.h"
#include "engine/core/Transform.h"
#include "game/components/shared/PlayerFrame.h"

Engine::TypeNode* ColourCollider::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<ColourCollider, Engine::LogicComp>();
}

void ColourCollider::Initialize() { mStartScale = *Engine::Transform::ScalePtr(owner); }

// The last scale written may pass "final_scale" by one frame's share. A
// splash given no time (or less) is at its final scale at once: dividing by
// it would put an infinite or NaN scale on the collider and the screen.
void ColourCollider::Update()
{
    mElapsed += PlayerFrame::ScaledDt();
    const float share = total_time.value > 0.0f ? mElapsed / total_time.value : 1.0f;
    Engine::Transform::ScaleRef(owner) = Engine::Math::Lerp(mStartScale, final_scale.value, share);
    if (mElapsed >= total_time.value)
        owner.Destroy();
}
