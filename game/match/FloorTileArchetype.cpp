#include "game/match/FloorTileArchetype.h"

#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/ArchetypeRegistry.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/arena/Palette.h"
#include "game/components/tile/TileLogicComponent.h"

namespace FloorTileArchetype {

void CreateFloorTiles(const std::string& archetype, const glm::vec3& tileScale)
{
    Engine::EntityHandle prototype = Engine::EntityMgr::GetInstance().CreateEntity();
    if (prototype.IsNull())
        return;
    Engine::TransformCompManager::GetInstance().AddComponent(prototype);
    Engine::Transform::ScaleRef(prototype) = tileScale;

    Engine::SpatialCollider& collider = *Engine::SpatialCollisionMgr::GetInstance().GetCompPtr(prototype);
    collider.shape.value = Engine::ShapeHexPrism;
    collider.SetCollisionType("Tile");

    Engine::RenderWrapper& colours = *Engine::RenderWrapperManager::GetInstance().AddComponent(prototype).component;
    colours.mAmbientColor_0.value = CurrentPalette.Colour(TileAmbCol);
    colours.mAmbientColor_1.value = CurrentPalette.Colour(TileTexCol);
    colours.mAmbientColor_2.value = CurrentPalette.Colour(TileAmb2);
    colours.mDiffuseColor.value = CurrentPalette.Colour(TileDiff);
    // Highlights in the floor's own muted hue: a white one would glare
    // from every tile a light shines across.
    colours.mSpecularColor.value = CurrentPalette.Colour(TileDiff);

    Engine::EntityNameCompManager::GetInstance().AddComponent(prototype);
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<Engine::SMComponent>(prototype);
    logic.AddComponent<TileLogicComponent>(prototype);
    Engine::EntityTagCompManager::GetInstance().AddTag(prototype, "Tile");

    Engine::ArchetypeRegistry& archetypes = Engine::ArchetypeRegistry::GetInstance();
    archetypes.SaveArchetype(archetype, prototype);
    archetypes.SaveArchetype("FloorTile", prototype);
    DiscardNow(prototype);
}

void DiscardNow(Engine::EntityHandle entity)
{
    Engine::ICompManager::ForEachManager([&entity](Engine::ICompManager& manager) { manager.RemoveComponent(entity); });
    Engine::EntityMgr::GetInstance().DestroyEntity(entity);
}

} // namespace FloorTileArchetype
