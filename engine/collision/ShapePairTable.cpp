#include "engine/collision/ShapePairTable.h"

#include "engine/collision/BoxContacts.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/PrismContacts.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/collision/SphereContacts.h"

namespace Engine {
namespace {

using GeometryTest = bool (*)(const Transform3D& first, const Transform3D& second, ContactInfo& out);

// A pair of one shape: the test runs in the caller's order.
template <GeometryTest Test>
bool SameShapes(EntityHandle, EntityHandle, const Transform3D& ta, const Transform3D& tb, ContactInfo* contact)
{
    ContactInfo scratch;
    return Test(ta, tb, contact ? *contact : scratch);
}

// A pair of two shapes: the test wants the `Second` shape second, so when a
// is that body the bodies trade places and the normal is turned back.
template <GeometryTest Test, ECollisionShape Second>
bool InRoleOrder(EntityHandle a, EntityHandle, const Transform3D& ta, const Transform3D& tb, ContactInfo* contact)
{
    ContactInfo scratch;
    ContactInfo& out = contact ? *contact : scratch;
    if (RecordedShape(a) != Second)
        return Test(ta, tb, out);
    const bool hit = Test(tb, ta, out);
    out.normal = -out.normal;
    return hit;
}

} // namespace

ShapePairTable::ShapePairTable()
{
    using namespace Contacts;
    mTests[ShapeAABB] = SameShapes<AabbAabb>;
    mTests[ShapeSphere] = SameShapes<SphereSphere>;
    mTests[ShapeAABB | ShapeSphere] = InRoleOrder<AabbSphere, ShapeSphere>;
    mTests[ShapeOBB] = SameShapes<ObbObb>;
    mTests[ShapeAABB | ShapeOBB] = InRoleOrder<ObbObb, ShapeOBB>;
    mTests[ShapeSphere | ShapeOBB] = InRoleOrder<ObbSphere, ShapeSphere>;
    mTests[ShapeCylinder] = SameShapes<ObbObb>;
    mTests[ShapeAABB | ShapeCylinder] = InRoleOrder<ObbObb, ShapeCylinder>;
    mTests[ShapeSphere | ShapeCylinder] = InRoleOrder<CylinderSphere, ShapeSphere>;
    mTests[ShapeOBB | ShapeCylinder] = InRoleOrder<ObbObb, ShapeCylinder>;
    mTests[ShapeHexPrism] = SameShapes<PrismPrism>;
    mTests[ShapeAABB | ShapeHexPrism] = InRoleOrder<ObbPrism, ShapeHexPrism>;
    mTests[ShapeSphere | ShapeHexPrism] = InRoleOrder<PrismSphere, ShapeSphere>;
    mTests[ShapeOBB | ShapeHexPrism] = InRoleOrder<ObbPrism, ShapeHexPrism>;
    mTests[ShapeCylinder | ShapeHexPrism] = InRoleOrder<ObbPrism, ShapeHexPrism>;
    mTests[ShapeShell] = SameShapes<ShellShell>;
    mTests[ShapeAABB | ShapeShell] = InRoleOrder<AabbSphere, ShapeShell>;
    mTests[ShapeSphere | ShapeShell] = InRoleOrder<SphereShell, ShapeShell>;
    mTests[ShapeOBB | ShapeShell] = InRoleOrder<ObbSphere, ShapeShell>;
    mTests[ShapeCylinder | ShapeShell] = InRoleOrder<CylinderSphere, ShapeShell>;
    mTests[ShapeHexPrism | ShapeShell] = InRoleOrder<PrismSphere, ShapeShell>;
}

ShapePairTest ShapePairTable::Find(std::uint32_t shapeA, std::uint32_t shapeB) const
{
    if (!IsCollisionShape(shapeA) || !IsCollisionShape(shapeB))
        return nullptr;
    return mTests[shapeA | shapeB];
}

std::uint32_t RecordedShape(EntityHandle entity)
{
    if (const CollisionComp* body = CollisionMgr::GetInstance().FindComp(entity))
        return body->mCollisionShape.value;
    if (const SpatialCollider* collider = SpatialCollisionMgr::GetInstance().FindCollider(entity))
        return collider->shape.value;
    return 0;
}

} // namespace Engine
