#pragma once
#include "engine/core/EntityHandle.h"

#include <glm/glm.hpp>
#include <string>

namespace FloorTileArchetype {

// Registers the floor-tile archetype under the name and under "FloorTile":
// a transform of the given scale, a hexagonal static collider of the "Tile"
// collision type, a render wrapper in the current palette's floor colours,
// a name, the tag "Tile", a state-machine component and a tile component.
void CreateFloorTiles(const std::string& archetype, const glm::vec3& tileScale);

// Takes every component from the entity at once and queues the entity's
// destruction: a prototype or a probe must not take part in the frame
// that follows (as a tile it would be initialised, named and collided with).
void DiscardNow(Engine::EntityHandle entity);

} // namespace FloorTileArchetype
