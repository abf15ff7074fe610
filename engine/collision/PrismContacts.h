#pragma once
#include "engine/collision/ContactInfo.h"
#include "engine/core/Transform3D.h"

// Contacts with a hexagonal prism by separating axes. The prism's extents are
// those of the unit prism about its centre: its scale and rotation reach the
// test only through the axes (the placed face normals). The contact point is
// not computed and is reported as the origin.
namespace Engine::Contacts {

// A box (or a cylinder taken as a box) against a prism; the normal points
// from the box to the prism.
bool ObbPrism(const Transform3D& box, const Transform3D& prism, ContactInfo& out);
bool PrismPrism(const Transform3D& a, const Transform3D& b, ContactInfo& out);

} // namespace Engine::Contacts
