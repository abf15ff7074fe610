#include "game/components/tile/CrashingTile.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/arena/Palette.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/components/tile/TileProbe.h"

#include <algorithm>

Engine::TypeNode* CrashingTile::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<CrashingTile, Engine::LogicComp>();
}

void CrashingTile::Initialize()
{
    if (TileLogicComponent* tile = Engine::LogicManager::GetCompPtr<TileLogicComponent>(owner))
        tile->tile_type.value = TileLogicComponent::Crashing;
    Paint();
    mActive = 0;
}

// Every frame, so palette fades reach the tile.
void CrashingTile::Paint() const
{
    Engine::RenderWrapper* wrapper = Engine::RenderWrapperManager::GetInstance().GetCompPtr(owner);
    if (!wrapper)
        return;
    wrapper->mAmbientColor_0.value = CurrentPalette.Colour(CrashAmbient);
    wrapper->mAmbientColor_1.value = CurrentPalette.Colour(CrashTex);
    wrapper->mAmbientColor_2.value = CurrentPalette.Colour(CrashAmb2);
    wrapper->mDiffuseColor.value = CurrentPalette.Colour(CrashDiff);
    wrapper->mSpecularColor.value = CurrentPalette.Colour(CrashSpec);
}

void CrashingTile::Update()
{
    Paint();
    if (!mActive)
        return;
    const glm::vec3 up = *Engine::Transform::UpPtr(owner);
    const float step = PlayerFrame::ScaledDt() * speed.value;
    Engine::Transform::PositionRef(owner) += up * step;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(owner);
    // Looked for from where the top face stood before this move: a tile
    // within the move (one crashing into it head on, one lying close ahead,
    // the tile it rests on when it is struck again) stops it too, at that
    // tile's face. Rays from the moved face would start inside such a tile
    // and miss it, and the tile would pass through and fly on for good.
    const std::optional<float> ahead = TileProbe::TileReached(owner, kStopDistance, std::max(step, 0.0f));
    if (!ahead)
        return;
    mActive = 0;
    Engine::Transform::PositionRef(owner) += up * *ahead;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(owner);
}
