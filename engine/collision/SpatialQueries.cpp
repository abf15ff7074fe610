#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/RayTests.h"
#include "engine/collision/ShapeGeometry.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Math.h"
#include "engine/core/Transform.h"

#include <algorithm>
#include <cmath>

namespace Engine {
namespace {

float RayAgainstNode(std::uint32_t code, const glm::vec3& origin, const glm::vec3& direction)
{
    const Octree::Box box = SpatialCollisionMgr::CodeToBox(code);
    return Rays::Aabb(origin, direction, box.centre, glm::vec3(box.half));
}

// One body meeting the static colliders near it, one after another. A
// meeting without contact runs no handler and moves nothing, so the body's
// record and transform, and the relation and shape test of the kind of
// collider met last, hold until the next contact and are looked up only
// then: a floor's worth of tiles costs one transform each instead of two,
// and no table lookups.
class StaticMeetings {
public:
    explicit StaticMeetings(EntityHandle body) : mBody(body) {}

    // CollidePair(body, collider) as a fresh pair step would make it; false
    // once a handler has removed the body, which leaves nothing to test.
    bool Meet(const SpatialCollider& collider)
    {
        if (mStale && !Refresh())
            return false;
        const std::uint32_t shape = collider.shape.value;
        const std::uint32_t tag = collider.collision_type.value;
        if (!mKindKnown || shape != mShape || tag != mTag)
            LookUpKind(shape, tag);
        if (!mTest)
            return true;
        // Copied: a handler may remove the collider during the pair.
        const EntityHandle entity = collider.entity;
        mStale = mBodies.TestPair(mBody, entity, mTransform, MakeTransform3D(entity), mRelation, mTest,
                                  mOwn->mGhost.value, false);
        return true;
    }

private:
    bool Refresh()
    {
        mOwn = mBodies.FindComp(mBody);
        if (!mOwn)
            return false;
        // Built afresh: a response may have moved the body.
        mTransform = MakeTransform3D(mBody);
        mKindKnown = false;
        mStale = false;
        return true;
    }

    void LookUpKind(std::uint32_t shape, std::uint32_t tag)
    {
        mShape = shape;
        mTag = tag;
        mKindKnown = true;
        mRelation = CollisionTable::GetInstance().GetRelation(mOwn->collision_type.value, tag);
        mTest = mRelation == CollisionTable::kIgnore ? nullptr
                                                     : mBodies.GetShapeTests().Find(mOwn->mCollisionShape.value, shape);
    }

    CollisionMgr& mBodies = CollisionMgr::GetInstance();
    EntityHandle mBody;
    const CollisionComp* mOwn = nullptr;
    Transform3D mTransform;
    bool mStale = true;
    bool mKindKnown = false;
    std::uint32_t mShape = 0;
    std::uint32_t mTag = 0;
    int mRelation = CollisionTable::kIgnore;
    ShapePairTest mTest = nullptr;
};

} // namespace

template <class Meet>
void SpatialCollisionMgr::WalkNear(const glm::vec3& centre, float radius, Meet&& meet)
{
    if (!FindNode(Octree::kRootCode))
        return;
    if (MeetNode(Octree::kRootCode, meet))
        DescendNear(Octree::kRootCode, centre, radius, meet);
}

std::vector<SpatialCollisionMgr::Listed>& SpatialCollisionMgr::ListingAt(std::size_t depth)
{
    while (mListings.size() <= depth)
        mListings.push_back(std::make_unique<std::vector<Listed>>());
    return *mListings[depth];
}

SpatialCollisionMgr::ListingLease::ListingLease(SpatialCollisionMgr& manager)
    : list(manager.ListingAt(manager.mListingDepth)), mManager(manager)
{
    ++mManager.mListingDepth;
    list.clear();
}

// The node's colliders are listed before any is met: a handler may add,
// move or remove colliders (and so nodes) while the walk runs. A listed
// collider is looked up again only once some record has been destroyed.
template <class Meet>
bool SpatialCollisionMgr::MeetNode(std::uint32_t code, Meet& meet)
{
    const ListingLease lease(*this);
    std::vector<Listed>& listed = lease.list;
    const OctreeNode* node = FindNode(code);
    for (SpatialCollider* at = node ? node->firstCollider : nullptr; at; at = at->next)
        listed.push_back(Listed{at, at->entity});
    const std::uint64_t removals = mRemovals;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SpatialCollider* collider = removals == mRemovals ? listed[i].collider : FindCollider(listed[i].entity);
        if (collider && !meet(*collider))
            return false;
    }
    return true;
}

template <class Meet>
bool SpatialCollisionMgr::DescendNear(std::uint32_t code, const glm::vec3& centre, float radius, Meet& meet)
{
    for (std::uint32_t i = 0; i < 8; ++i) {
        const OctreeNode* node = FindNode(code);
        if (!node)
            return true;
        if (!(node->childMask & (1u << i)))
            continue;
        const std::uint32_t child = (code << 3) | i;
        if (!Octree::SphereTouchesBox(centre, radius, CodeToBox(child)))
            continue;
        if (!MeetNode(child, meet) || !DescendNear(child, centre, radius, meet))
            return false;
    }
    return true;
}

void SpatialCollisionMgr::TestBody(const Transform3D& transform, EntityHandle body, float radius)
{
    StaticMeetings meetings(body);
    WalkNear(transform.pos, radius, [&meetings](const SpatialCollider& collider) { return meetings.Meet(collider); });
}

std::vector<RayHit> SpatialCollisionMgr::QueryOverlaps(const Transform3D& transform, float radius, EntityHandle body)
{
    std::vector<RayHit> hits;
    const CollisionMgr& bodies = CollisionMgr::GetInstance();
    const CollisionComp* own = bodies.FindComp(body);
    if (!own)
        return hits;
    const std::uint32_t shape = own->mCollisionShape.value;
    WalkNear(transform.pos, radius, [&](const SpatialCollider& collider) {
        const ShapePairTest test = bodies.GetShapeTests().Find(shape, collider.shape.value);
        ContactInfo contact;
        if (test && test(body, collider.entity, transform, MakeTransform3D(collider.entity), &contact))
            hits.push_back(RayHit{collider.entity, 0.0f, contact.point});
        return true;
    });
    return hits;
}

RayHit SpatialCollisionMgr::RayCast(const glm::vec3& origin, const glm::vec3& direction) const
{
    const bool usable = Math::IsFinite(origin) && Math::IsFinite(direction) && direction != glm::vec3(0.0f);
    if (!usable || !FindNode(Octree::kRootCode) || RayAgainstNode(Octree::kRootCode, origin, direction) < 0.0f)
        return RayHit{};
    return DescendRay(Octree::kRootCode, origin, direction);
}

// Children nearest along the ray first; a child entered beyond the best hit
// so far cannot hold a nearer one. On a tie the node's own collider wins
// over a child's.
RayHit SpatialCollisionMgr::DescendRay(std::uint32_t code, const glm::vec3& origin, const glm::vec3& direction) const
{
    const OctreeNode* node = FindNode(code);
    if (!node)
        return RayHit{};
    std::vector<std::pair<float, std::uint32_t>> children;
    for (std::uint32_t i = 0; i < 8; ++i) {
        if (!(node->childMask & (1u << i)))
            continue;
        const std::uint32_t child = (code << 3) | i;
        const float t = RayAgainstNode(child, origin, direction);
        if (t >= 0.0f)
            children.emplace_back(t, child);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    RayHit best;
    for (const auto& [entry, child] : children) {
        if (best.distance >= 0.0f && entry > best.distance)
            break;
        const RayHit hit = DescendRay(child, origin, direction);
        if (hit.distance >= 0.0f && (best.distance < 0.0f || hit.distance < best.distance))
            best = hit;
    }
    const RayHit own = NearestOwnHit(*node, origin, direction);
    if (own.distance >= 0.0f && (best.distance < 0.0f || own.distance <= best.distance))
        return own;
    return best;
}

RayHit SpatialCollisionMgr::NearestOwnHit(const OctreeNode& node, const glm::vec3& origin,
                                          const glm::vec3& direction) const
{
    RayHit nearest;
    for (const SpatialCollider* at = node.firstCollider; at; at = at->next) {
        const float t = Rays::AgainstShape(at->shape.value, at->entity, origin, direction);
        if (t >= 0.0f && (nearest.distance < 0.0f || t < nearest.distance))
            nearest = RayHit{at->entity, t, origin + t * direction};
    }
    return nearest;
}

} // namespace Engine
