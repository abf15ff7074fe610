#pragma once
#include <cstdint>
#include <nlohmann/json_fwd.hpp>

namespace Engine {

// One bit per shape, so that the two shapes of a pair OR-ed together index
// the table of pair tests. Sizes come from the entity's transform:
//   AABB, OBB   half-extents = scale (OBB along right, up, forward)
//   sphere      radius = scale.x
//   cylinder    radius = scale.x, half-length = scale.y, along up
//   hex prism   the unit prism placed by the model matrix (the floor tile)
//   shell       radius = scale.x; a hollow sphere to other shells and spheres
enum ECollisionShape : std::uint32_t {
    ShapeAABB = 1,
    ShapeSphere = 2,
    ShapeOBB = 4,
    ShapeCylinder = 8,
    ShapeHexPrism = 16,
    ShapeShell = 32,
};

// True for exactly one of the six shapes; 0 (no shape yet) and mixtures are not.
bool IsCollisionShape(std::uint32_t value);

// JSON: an unsigned number. Reading takes any number or a boolean (a fraction
// is cut toward zero) and keeps 1, 2, 4, 8 and 16; every other value, NaN and
// numbers past the u32 range included, reads as 1. A shell is therefore only
// ever made in code. Another JSON type raises type_error 302.
void to_json(nlohmann::json& j, const ECollisionShape& shape);
void from_json(const nlohmann::json& j, ECollisionShape& shape);

} // namespace Engine
