#include "game/components/tile/TileHeightStates.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/logic/StateMachine.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/tile/TileColourStates.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/components/tile/TileHooks.h"

#include <string>

namespace {

constexpr float kRaiseVolume = 0.4f;
constexpr float kLowerVolume = 0.05f;

} // namespace

std::string TileMovingName(int index)
{
    return index == 0 ? "tile_moving" : "tile_moving" + std::to_string(index + 1);
}

void TileStartAnimation::OnEnter()
{
    elapsed = 0.0f;
    duration = Engine::Random::RangeFloat(0.25f, 3.0f);
    rest = *Engine::Transform::PositionPtr(GetOwner());
    const float depth = Engine::Random::RangeFloat(1.0f, 5.0f);
    sunk = rest - depth * *Engine::Transform::UpPtr(GetOwner());
}

void TileStartAnimation::OnUpdate()
{
    // The position comes first: the last frame shows the ease of the
    // elapsed time before it.
    const float eased = Engine::Math::EaseOutQuad(elapsed / duration);
    Engine::Transform::PositionRef(GetOwner()) = Engine::Math::Lerp(sunk, rest, eased);
    elapsed += PlayerFrame::ScaledDt();
    if (elapsed > duration)
        GetStateMachine()->ChangeState("TileStay");
}

void TileStayState::OnEnter()
{
    tile = GetOwner();
    if (component) {
        component->mRaiseRequest = 0;
        component->mLowerRequest = 0;
        component->mRaiseBlocked = 0;
    }
}

void TileStayState::OnUpdate()
{
    // The peer's step moves any tile that is not crashing.
    if (!component || component->TakePeerStep() || !component->IsMovable())
        return;
    component->mRaiseBlocked = 0;
    // A tile moves only while a player aims at it.
    if (!resting || !resting->selected)
        return;
    // A raise and a lowering standing together make one move, the lowering,
    // and count only it: the level must tell the height, or the bending
    // limits count from a wrong base.
    if (component->mLowerRequest) {
        component->mLevel -= 1;
        GetStateMachine()->ChangeState("TileDown");
    } else if (component->mRaiseRequest) {
        component->mLevel += 1;
        GetStateMachine()->ChangeState("TileUp");
    }
}

void TileStepState::OnEnter()
{
    PlaySound();
    transform = GetOwner();
    tile = GetOwner();
    const float step = component ? component->tile_size.value : 0.0f;
    start = *Engine::Transform::PositionPtr(transform);
    target = start + *Engine::Transform::UpPtr(transform) * step * mDirection;
    progress = 0.0f;
}

void TileStepState::OnUpdate()
{
    Engine::Transform::PositionRef(transform) = Engine::Math::Lerp(start, target, Engine::Math::EaseOutQuad(progress));
    const float speed = component ? component->tile_speed.value : 0.0f;
    progress += PlayerFrame::ScaledDt() * speed;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(transform);
    if (progress >= 1.0f)
        GetStateMachine()->ChangeState("TileStay");
}

void TileGoingUpState::PlaySound()
{
    Engine::Emitter* emitter = TileHooks::LocalPlayerEmitter();
    if (!emitter)
        return;
    const std::string name = TileMovingName(TileLogicComponent::sRaiseSound);
    TileLogicComponent::sRaiseSound = (TileLogicComponent::sRaiseSound + 1) % kTileMovingSounds;
    emitter->Play(name, false, false);
    emitter->SetVolume(name, kRaiseVolume);
}

void TileGoingDownState::PlaySound()
{
    if (Engine::Emitter* emitter = TileHooks::LocalPlayerEmitter()) {
        const std::string name = TileMovingName(0);
        emitter->Play(name, false, true);
        emitter->SetVolume(name, kLowerVolume);
    }
}
