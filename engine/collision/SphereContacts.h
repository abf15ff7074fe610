#pragma once
#include "engine/collision/ContactInfo.h"
#include "engine/core/Transform3D.h"

// Contacts of a sphere (or a shell taken as a sphere) with each shape. Every
// test takes its bodies in a fixed role order and reports the normal from the
// first to the second.
namespace Engine::Contacts {

// depth = rA + rB - distance; point on A's surface; contact when depth >= 0.
bool SphereSphere(const Transform3D& a, const Transform3D& b, ContactInfo& out);
// From the box to the sphere. A centre inside the box is pushed out through
// the face of least penetration (x, then y, then z on ties).
bool AabbSphere(const Transform3D& box, const Transform3D& sphere, ContactInfo& out);
bool ObbSphere(const Transform3D& box, const Transform3D& sphere, ContactInfo& out);
// From the cylinder to the sphere. The depth is the distance from the
// sphere's centre to the nearest part of the cylinder (cap disc or side).
bool CylinderSphere(const Transform3D& cylinder, const Transform3D& sphere, ContactInfo& out);
// From the prism to the sphere.
bool PrismSphere(const Transform3D& prism, const Transform3D& sphere, ContactInfo& out);

// The hollow-sphere rules, applied to a sphere contact already found. A shell
// is a wall two units thick just inside its radius: near its outer surface a
// body is pushed out, near the inner surface pushed in, deep inside untouched.
bool ShellShell(const Transform3D& a, const Transform3D& b, ContactInfo& out);
bool SphereShell(const Transform3D& sphere, const Transform3D& shell, ContactInfo& out);

} // namespace Engine::Contacts
