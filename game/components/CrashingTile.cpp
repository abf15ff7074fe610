#include "game/components/CrashingTile.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/arena/Palette.h"
#include "game/components/PlayerFrame.h"
#include "game/components/TileLogicComponent.h"
#include "game/components/TileProbe.h"

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
    const Engine::RayHit ahead = TileProbe::FirstTileAhead(owner, kStopDistance, false);
    if (ahead.distance < 0.0f)
        return;
    mActive = 0;
    Engine::Transform::PositionRef(owner) += up * ahead.distance;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(owner);
}
