#pragma once
#include "engine/collision/ShapeGeometry.h"
#include "engine/core/Transform.h"

#include <glm/glm.hpp>

// Whether a point (a view) lies inside a player's drawn body: the box of half
// extents its scale, turned with it, that its figure fills.
inline bool InsideABody(const glm::vec3& point, Engine::EntityHandle player)
{
    const Engine::Geometry::BoxFrame box(Engine::MakeTransform3D(player));
    const glm::vec3 local = glm::abs(box.PointToLocal(point));
    return glm::all(glm::lessThan(local, glm::abs(box.half)));
}
