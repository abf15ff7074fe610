#pragma once
#include "engine/collision/CollisionComp.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/ContactInfo.h"
#include "engine/collision/ShapePairTable.h"
#include "engine/core/CompManager.h"
#include "engine/core/PoolStlAllocator.h"
#include "engine/core/Transform3D.h"

#include <cstdint>
#include <optional>

namespace Engine {

// The dynamic bodies and the physics step. Once a frame Update walks the
// bodies in entity order; each is integrated, tested against every later
// body (which has not moved yet this frame) and then against the static
// colliders near it. Touching pairs whose tags are not ignored raise a
// CollisionEvent to each entity; pairs that collide are also pushed apart
// and bounced, unless a ghost is involved or the pair rule refuses it.
class CollisionMgr : public ICompManager {
public:
    using Bodies = PoolMap<EntityHandle, CollisionComp>;

    static CollisionMgr& GetInstance();
    // Nothing to set up beyond construction.
    bool Init() { return true; }

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mBodies.size(); }
    // The physics step of one frame.
    void Update() override;
    void Save(nlohmann::json& document) override;
    // Reads bodies over the ones held (nothing is cleared), then the
    // collision table. The whole section is checked first: an error leaves
    // bodies and table as they were.
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;
    // The bodies and the collision table (part of the scene file) go aside
    // together. A load keeps the table unless the file holds one, so the
    // table stays in force when the scene is set aside.
    void SwapWithAside() override;
    void SetAside() override;

    // Gives the entity a default body unless it has one; null adds nothing.
    EntityHandle AddComponent(EntityHandle entity);
    // The entity's body, made with the defaults when it has none; null for
    // the null handle. To ask whether an entity has a body, use HasComponent.
    CollisionComp* GetCompPtr(EntityHandle entity);
    // The entity's body or null; adds nothing.
    CollisionComp* FindComp(EntityHandle entity);
    const CollisionComp* FindComp(EntityHandle entity) const;

    // The pair step: the table's relation, the shape test, two events, then
    // the response for a colliding pair without ghosts. Against a static
    // collider (bothDynamic false) only a is moved.
    void CollidePair(EntityHandle a, EntityHandle b, const Transform3D& ta, const Transform3D& tb,
                     std::uint32_t shapeA, std::uint32_t shapeB, std::uint32_t tagA, std::uint32_t tagB, bool ghost,
                     bool bothDynamic);
    // The pair step past the table: the shape test (of a relation other
    // than 0), the events and the response. True when the shapes touched:
    // then the events' handlers have run, and anything may have changed.
    bool TestPair(EntityHandle a, EntityHandle b, const Transform3D& ta, const Transform3D& tb, int relation,
                  ShapePairTest test, bool ghost, bool bothDynamic);
    // Splits the contact depth between two bodies by inverse mass.
    void SeparateBodies(EntityHandle a, EntityHandle b, const ContactInfo& contact);

    // Whether two moving bodies that touch are pushed apart and bounced; both
    // hear the contact either way. Null: every colliding pair is. The game
    // keeps a body that its peer's machine moves from pushing its own.
    using PairRule = bool (*)(EntityHandle a, EntityHandle b);
    void SetPairPush(PairRule rule) { mPairPush = rule; }

    const ShapePairTable& GetShapeTests() const { return mShapeTests; }
    const Bodies& GetBodies() const { return mBodies; }
    // Shape tests run by CollidePair since the counter was last reset.
    std::uint64_t GetNarrowTestCount() const { return mNarrowTests; }
    void ResetNarrowTestCount() { mNarrowTests = 0; }

private:
    CollisionMgr();

    // The first body after the entity (which need not have one), if any.
    std::optional<EntityHandle> KeyAfter(EntityHandle entity) const;
    void StepBody(EntityHandle a);
    void TestLaterBodies(EntityHandle a);
    void TestStaticColliders(EntityHandle a);
    void RespondDynamic(EntityHandle a, EntityHandle b, const ContactInfo& contact);
    void RespondStatic(EntityHandle a, const ContactInfo& contact);

    ShapePairTable mShapeTests;
    Bodies mBodies;
    std::uint64_t mNarrowTests = 0;
    // A body with a non-finite velocity has been named since the last Clear.
    bool mReportedNonFiniteVelocity = false;
    PairRule mPairPush = nullptr;
    // The scene kept aside during a scene load.
    Bodies mAsideBodies;
    CollisionTable::Contents mAsideTable;
};

} // namespace Engine
