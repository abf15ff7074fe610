#pragma once
#include "engine/collision/ContactInfo.h"
#include "engine/core/Transform3D.h"

// Contacts between boxes; cylinders take part as oriented boxes with
// half-extents scale. Normals point from a to b.
namespace Engine::Contacts {

// Along the world axis of least overlap (x, then y, then z on ties); boxes
// that only touch count, with depth 0.
bool AabbAabb(const Transform3D& a, const Transform3D& b, ContactInfo& out);
// Separating axes over the six face axes of the two boxes (no edge pairs);
// the axis of largest separation gives normal and depth.
bool ObbObb(const Transform3D& a, const Transform3D& b, ContactInfo& out);

} // namespace Engine::Contacts
