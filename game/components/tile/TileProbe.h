#pragma once
#include "engine/collision/SpatialCollider.h"
#include "engine/core/EntityHandle.h"

#include <glm/glm.hpp>
#include <optional>
#include <vector>

// What lies ahead of a tile's top face: five rays along the way the tile
// rises, from its centre and from four points towards its rim, against the
// arena's static colliders.
namespace TileProbe {

// The way the tile rises in the world: its up vector, turned with the arena
// (x and y negated) while the arena hangs upside down.
glm::vec3 RiseDirection(Engine::EntityHandle tile);

// A tile rising more than half along y is a floor tile: stood on, not
// walked into.
inline bool RisesAsAFloor(const glm::vec3& rise) { return rise.y > 0.5f; }

// Each ray's nearest hit at a distance of 0 or more, in ray order: centre
// offsets +right, -right, +forward, -forward, then the centre.
std::vector<Engine::RayHit> Cast(Engine::EntityHandle tile);

// The first of those hits whose entity is tagged "Tile" and lies within
// [0, reach] (or [0, reach) when `inclusive` is false); distance -1 when
// there is none.
Engine::RayHit FirstTileAhead(Engine::EntityHandle tile, float reach, bool inclusive);

// How far ahead, measured as FirstTileAhead measures, the nearest tile lies
// that is less than `reach` ahead of a tile that has just moved `moved`
// along its rise; 0 or less for a tile its top face touched before the move
// or has moved into since, which rays from above the face would start inside
// and miss. None when no tile is that near.
std::optional<float> TileReached(Engine::EntityHandle tile, float reach, float moved);

} // namespace TileProbe
