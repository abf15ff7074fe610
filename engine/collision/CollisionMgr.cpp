#include "engine/collision/CollisionMgr.h"

#include "engine/collision/CollisionTable.h"
#include "engine/collision/ShapeGeometry.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/Math.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventHandlerList.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace Engine {
namespace {

bool HasTransform(EntityHandle entity) { return TransformCompManager::GetInstance().HasComponent(entity); }

// A contact that would carry NaN or infinity into a position moves nothing.
bool CanRespondTo(const ContactInfo& contact)
{
    return Math::IsFinite(contact.normal) && std::isfinite(contact.depth);
}

void RaiseContact(EntityHandle target, EntityHandle other, const glm::vec3& point, const glm::vec3& normal, float depth)
{
    CollisionEvent event;
    event.other = other;
    event.point = point;
    event.normal = normal;
    event.depth = depth;
    EventHandlerList::Raise(event, target);
}

// A body can be given any velocity, and an immovable one never integrates
// it away: bounced off, its NaN or infinity would pass into the other body's
// velocity and then its place. It is named once a scene, not every frame it
// touches something.
bool RespondsWithFiniteVelocity(EntityHandle entity, const CollisionComp& body, bool& reported)
{
    if (Math::IsFinite(body.mVelocity.value))
        return true;
    if (!reported)
        std::fprintf(stderr, "[CollisionMgr] Entity %u has a NaN or infinite velocity: left out of collision "
                             "responses.\n", entity.GetIndex());
    reported = true;
    return false;
}

void MoveWorldPosition(EntityHandle entity, const glm::vec3& offset)
{
    Transform::SetWorldPosition(entity, Transform::GetWorldPosition(entity) + offset);
}

} // namespace

CollisionMgr& CollisionMgr::GetInstance()
{
    static CollisionMgr instance;
    return instance;
}

CollisionMgr::CollisionMgr() { CollisionTable::GetInstance().AddTag("Default"); }

void CollisionMgr::RemoveComponent(EntityHandle entity) { mBodies.erase(entity); }

bool CollisionMgr::HasComponent(EntityHandle entity) const { return mBodies.contains(entity); }

void CollisionMgr::Clear()
{
    mBodies.clear();
    mReportedNonFiniteVelocity = false;
}

void CollisionMgr::SwapWithAside()
{
    mBodies.swap(mAsideBodies);
    CollisionTable::GetInstance().SwapContents(mAsideTable);
}

void CollisionMgr::SetAside()
{
    SwapWithAside();
    CollisionTable::Contents kept = mAsideTable;
    CollisionTable::GetInstance().SwapContents(kept);
}

EntityHandle CollisionMgr::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return EntityHandle();
    mBodies.try_emplace(entity);
    return entity;
}

CollisionComp* CollisionMgr::GetCompPtr(EntityHandle entity)
{
    if (entity.IsNull())
        return nullptr;
    return &mBodies.try_emplace(entity).first->second;
}

CollisionComp* CollisionMgr::FindComp(EntityHandle entity)
{
    const auto found = mBodies.find(entity);
    return found == mBodies.end() ? nullptr : &found->second;
}

const CollisionComp* CollisionMgr::FindComp(EntityHandle entity) const
{
    const auto found = mBodies.find(entity);
    return found == mBodies.end() ? nullptr : &found->second;
}

// Event handlers run inside this walk and may add or remove bodies (a ball's
// contact spawning a splash, a hit destroying the ball), so no iterator or
// reference is kept across a pair: the walk finds its place again by entity.
void CollisionMgr::Update()
{
    for (std::optional<EntityHandle> a = KeyAfter(EntityHandle()); a; a = KeyAfter(*a))
        StepBody(*a);
}

std::optional<EntityHandle> CollisionMgr::KeyAfter(EntityHandle entity) const
{
    const auto next = mBodies.upper_bound(entity);
    return next == mBodies.end() ? std::nullopt : std::optional<EntityHandle>(next->first);
}

void CollisionMgr::StepBody(EntityHandle a)
{
    if (!HasTransform(a))
        return;
    FindComp(a)->Integrate(a);
    TestLaterBodies(a);
    if (HasComponent(a))
        TestStaticColliders(a);
}

void CollisionMgr::TestLaterBodies(EntityHandle a)
{
    for (std::optional<EntityHandle> b = KeyAfter(a); b; b = KeyAfter(*b)) {
        if (!HasTransform(*b))
            continue;
        const CollisionComp& bodyA = *FindComp(a);
        const CollisionComp& bodyB = *FindComp(*b);
        CollidePair(a, *b, MakeTransform3D(a), MakeTransform3D(*b), bodyA.mCollisionShape.value,
                    bodyB.mCollisionShape.value, bodyA.collision_type.value, bodyB.collision_type.value,
                    bodyA.mGhost.value || bodyB.mGhost.value, true);
        if (!HasComponent(a))
            return;
    }
}

void CollisionMgr::TestStaticColliders(EntityHandle a)
{
    const Transform3D transform = MakeTransform3D(a);
    SpatialCollisionMgr::GetInstance().TestBody(transform, a, glm::length(transform.scale));
}

void CollisionMgr::CollidePair(EntityHandle a, EntityHandle b, const Transform3D& ta, const Transform3D& tb,
                               std::uint32_t shapeA, std::uint32_t shapeB, std::uint32_t tagA, std::uint32_t tagB,
                               bool ghost, bool bothDynamic)
{
    const int relation = CollisionTable::GetInstance().GetRelation(tagA, tagB);
    if (relation == CollisionTable::kIgnore)
        return;
    const ShapePairTest test = mShapeTests.Find(shapeA, shapeB);
    if (test)
        TestPair(a, b, ta, tb, relation, test, ghost, bothDynamic);
}

bool CollisionMgr::TestPair(EntityHandle a, EntityHandle b, const Transform3D& ta, const Transform3D& tb,
                            int relation, ShapePairTest test, bool ghost, bool bothDynamic)
{
    ++mNarrowTests;
    ContactInfo contact;
    if (!test(a, b, ta, tb, &contact))
        return false;
    RaiseContact(a, b, contact.point, contact.normal, contact.depth);
    RaiseContact(b, a, contact.point, -contact.normal, contact.depth);
    if (relation != CollisionTable::kCollide || ghost || !CanRespondTo(contact))
        return true;
    if (bothDynamic)
        RespondDynamic(a, b, contact);
    else
        RespondStatic(a, contact);
    return true;
}

void CollisionMgr::SeparateBodies(EntityHandle a, EntityHandle b, const ContactInfo& contact)
{
    const CollisionComp* bodyA = FindComp(a);
    const CollisionComp* bodyB = FindComp(b);
    if (!bodyA || !bodyB)
        return;
    const float iA = bodyA->mInvMass.value;
    const float iB = bodyB->mInvMass.value;
    const float sum = iA + iB;
    if (sum == 0.0f)
        return;
    MoveWorldPosition(a, -contact.normal * contact.depth * iA / sum);
    MoveWorldPosition(b, contact.normal * contact.depth * iB / sum);
}

// Handlers of the pair's events may have removed either body.
void CollisionMgr::RespondDynamic(EntityHandle a, EntityHandle b, const ContactInfo& contact)
{
    CollisionComp* bodyA = FindComp(a);
    CollisionComp* bodyB = FindComp(b);
    if (!bodyA || !bodyB)
        return;
    if (!RespondsWithFiniteVelocity(a, *bodyA, mReportedNonFiniteVelocity)
        || !RespondsWithFiniteVelocity(b, *bodyB, mReportedNonFiniteVelocity))
        return;
    if (mPairPush && !mPairPush(a, b))
        return;
    SeparateBodies(a, b, contact);
    const float iA = bodyA->mInvMass.value;
    const float iB = bodyB->mInvMass.value;
    const float sum = iA + iB;
    if (sum == 0.0f)
        return;
    const glm::vec3& n = contact.normal;
    const float approach = glm::dot(bodyB->mVelocity.value - bodyA->mVelocity.value, n);
    if (approach > 0.0f)
        return;
    const float restitution = std::min(bodyA->mRestitution.value, bodyB->mRestitution.value);
    const float impulse = -(1.0f + restitution) * approach;
    bodyA->mVelocity.value -= n * impulse * iA / sum;
    bodyB->mVelocity.value += n * impulse * iB / sum;
}

void CollisionMgr::RespondStatic(EntityHandle a, const ContactInfo& contact)
{
    CollisionComp* body = FindComp(a);
    if (!body)
        return;
    const float invMass = body->mInvMass.value;
    if (invMass == 0.0f)
        return;
    const glm::vec3& n = contact.normal;
    MoveWorldPosition(a, -n * contact.depth);
    glm::vec3& velocity = body->mVelocity.value;
    const float along = glm::dot(velocity, n);
    if (along < 0.0f)
        return;
    velocity -= (1.0f + body->mRestitution.value) * along * n;
}

} // namespace Engine
