#include "game/components/ColourCollider.h"

#include "engine/core/FrameRateController.h"
#include "engine/core/Math.h"
#include "engine/core/Transform.h"

Engine::TypeNode* ColourCollider::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<ColourCollider, Engine::LogicComp>();
}

void ColourCollider::Initialize() { mStartScale = *Engine::Transform::ScalePtr(owner); }

// The last scale written may pass "final_scale" by one frame's share.
void ColourCollider::Update()
{
    mElapsed += static_cast<float>(Engine::FrameRateController::GetScaledDt());
    Engine::Transform::ScaleRef(owner) = Engine::Math::Lerp(mStartScale, final_scale.value, mElapsed / total_time.value);
    if (mElapsed >= total_time.value)
        owner.Destroy();
}
