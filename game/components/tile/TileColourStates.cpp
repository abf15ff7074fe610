#include "game/components/tile/TileColourStates.h"

#include "engine/core/Math.h"
#include "engine/logic/StateMachine.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/arena/Palette.h"
#include "game/components/shared/PlayerFrame.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// How far a 0.25 s blend has come; held at the end rather than run past it.
float Share(float elapsed, float seconds) { return std::min(elapsed / seconds, 1.0f); }

Engine::RenderWrapper* WrapperOf(Engine::EntityHandle tile)
{
    return Engine::RenderWrapperManager::GetInstance().GetCompPtr(tile);
}

void ShowSelection(Engine::RenderWrapper& wrapper)
{
    wrapper.mAmbientColor_1.value = CurrentPalette.Colour(TileSelCol);
    wrapper.mAmbientColor_0.value = CurrentPalette.Colour(TileSelAmb);
}

bool SameColour(const glm::vec3& a, const glm::vec3& b)
{
    return std::abs(a.x - b.x) <= FLT_EPSILON && std::abs(a.y - b.y) <= FLT_EPSILON && std::abs(a.z - b.z) <= FLT_EPSILON;
}

} // namespace

void GoToColour::OnEnter()
{
    elapsed = 0.0f;
    if (const Engine::RenderWrapper* wrapper = WrapperOf(GetOwner()))
        current = wrapper->mAmbientColor_1.value;
}

void GoToColour::OnUpdate()
{
    elapsed += PlayerFrame::ScaledDt();
    if (Engine::RenderWrapper* wrapper = WrapperOf(GetOwner())) {
        wrapper->mAmbientColor_1.value = Engine::Math::Lerp(current, target, Share(elapsed, kSeconds));
        if (selected)
            ShowSelection(*wrapper);
        else
            wrapper->mAmbientColor_0.value = CurrentPalette.Colour(TileAmbCol);
    }
    if (elapsed >= kSeconds) {
        if (GoBack* back = GetStateMachine()->GetState<GoBack>())
            back->currentAmbient = target;
        GetStateMachine()->ChangeState("GoBack");
    }
}

void GoToColour::Blend(const glm::vec3& splash)
{
    if (SameColour(splash, target))
        return;
    current = Engine::Math::Lerp(current, target, Share(elapsed, kSeconds));
    elapsed = 0.0f;
    target = (target + splash) / 2.0f;
}

void GoBack::TakeRestingColours(const Engine::RenderWrapper& wrapper)
{
    baseAmbient = wrapper.mAmbientColor_1.value;
    baseDiffuse = wrapper.mDiffuseColor.value;
    currentAmbient = baseAmbient;
    currentDiffuse = baseDiffuse;
    selected = false;
    elapsed = 0.0f;
}

void GoBack::OnEnter() { elapsed = 0.0f; }

void GoBack::OnUpdate()
{
    baseAmbient = CurrentPalette.Colour(TileTexCol);
    elapsed = elapsed < kSeconds ? elapsed + PlayerFrame::ScaledDt() : kSeconds;
    Engine::RenderWrapper* wrapper = WrapperOf(GetOwner());
    if (!wrapper)
        return;
    if (selected) {
        ShowSelection(*wrapper);
        wrapper->mDiffuseColor.value = CurrentPalette.Colour(TileSelCol);
        return;
    }
    const float share = Share(elapsed, kSeconds);
    wrapper->mAmbientColor_0.value = CurrentPalette.Colour(TileAmbCol);
    wrapper->mAmbientColor_1.value = Engine::Math::Lerp(currentAmbient, baseAmbient, share);
    wrapper->mDiffuseColor.value = Engine::Math::Lerp(currentDiffuse, baseDiffuse, share);
}
