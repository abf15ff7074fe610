#include "game/components/tile/ImmovableTile.h"

#include "engine/logic/LogicManager.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/arena/HexGrid.h"
#include "game/arena/Palette.h"
#include "game/components/tile/TileLogicComponent.h"

#include <algorithm>

Engine::TypeNode* ImmovableTile::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<ImmovableTile, Engine::LogicComp>();
}

void ImmovableTile::Initialize()
{
    if (TileLogicComponent* tile = Engine::LogicManager::GetCompPtr<TileLogicComponent>(owner)) {
        std::vector<std::int32_t>& immovable = HexGrid::GetInstance().immovableTiles;
        const auto number = static_cast<std::int32_t>(tile->mTileNumber);
        if (std::find(immovable.begin(), immovable.end(), number) == immovable.end())
            immovable.push_back(number);
        tile->tile_type.value = TileLogicComponent::Immovable;
    }
    if (Engine::RenderWrapper* wrapper = Engine::RenderWrapperManager::GetInstance().GetCompPtr(owner)) {
        wrapper->mAmbientColor_0.value = CurrentPalette.Colour(ImmAmbient);
        wrapper->mDiffuseColor.value = CurrentPalette.Colour(ImmDiffuse);
        wrapper->mSpecularColor.value = CurrentPalette.Colour(ImmSpec);
    }
}

void ImmovableTile::Update()
{
    Engine::RenderWrapper* wrapper = Engine::RenderWrapperManager::GetInstance().GetCompPtr(owner);
    if (!wrapper)
        return;
    wrapper->mAmbientColor_0.value = CurrentPalette.Colour(ImmAmbient);
    wrapper->mAmbientColor_1.value = CurrentPalette.Colour(ImmTex);
    wrapper->mDiffuseColor.value = CurrentPalette.Colour(ImmDiffuse);
    wrapper->mSpecularColor.value = CurrentPalette.Colour(ImmSpec);
}
