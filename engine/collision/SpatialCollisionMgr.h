#pragma once
#include "engine/collision/OctreeCodes.h"
#include "engine/collision/SpatialCollider.h"
#include "engine/core/CompManager.h"
#include "engine/core/PoolStlAllocator.h"
#include "engine/core/Transform3D.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Engine {

// The static colliders of the arena (the floor tiles among them) in a linear
// octree, so that moving bodies and rays look only at colliders near them.
// The octree only culls; shape tests and tag relations decide the rest.
// Colliders never move by physics: code that moves a static entity re-files
// it with UpdateCollider or UpdateAll, else its culling goes stale.
//
// Invariant: a node exists exactly while it or a descendant holds a collider.
class SpatialCollisionMgr : public ICompManager {
public:
    static constexpr int kWorldSize = 256;
    static constexpr int kMaxDepth = 5;

    using Colliders = PoolMap<EntityHandle, SpatialCollider>;

    static SpatialCollisionMgr& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mColliders.size(); }
    void Save(nlohmann::json& document) override;
    // The whole section is checked before any collider changes.
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;
    void SwapWithAside() override;

    // Gives the entity a collider (no shape, tag 0), filed by its transform,
    // unless it has one; null adds nothing.
    EntityHandle AddComponent(EntityHandle entity);
    // The entity's collider, added as AddComponent does when it has none;
    // null for the null handle.
    SpatialCollider* GetCompPtr(EntityHandle entity);
    // The entity's collider or null; adds nothing.
    SpatialCollider* FindCollider(EntityHandle entity);
    const SpatialCollider* FindCollider(EntityHandle entity) const;

    // Re-files a collider (creating it when absent) after its transform changed.
    void UpdateCollider(EntityHandle entity);
    void UpdateAll();

    // The per-body pass of the physics step: every collider in a node whose
    // cube touches the body's bounding sphere meets the body through
    // CollisionMgr::CollidePair. Root colliders are always met.
    void TestBody(const Transform3D& transform, EntityHandle body, float radius);
    // The same walk, listing the colliders whose shape test against the
    // body reports contact; no relation is asked and no event raised.
    std::vector<RayHit> QueryOverlaps(const Transform3D& transform, float radius, EntityHandle body);
    // The nearest collider hit by the ray; distance -1 when none (a zero or
    // non-finite ray never hits).
    RayHit RayCast(const glm::vec3& origin, const glm::vec3& direction) const;

    static std::uint32_t PointToCode(const glm::ivec3& point);
    static std::uint32_t BoxToCode(const glm::vec3& centre, const glm::vec3& half);
    static Octree::Box CodeToBox(std::uint32_t code);
    OctreeNode* FindNode(std::uint32_t code);
    const OctreeNode* FindNode(std::uint32_t code) const;
    OctreeNode* GetOrCreateNode(std::uint32_t code);
    // Removes the node, and then its parent in turn, while it holds no
    // collider and has no child.
    void PruneNode(OctreeNode* node);

    std::size_t NodeCount() const { return mNodes.size(); }
    // Colliders filed in the node of that code (0 when there is none).
    std::size_t CollidersIn(std::uint32_t code) const;
    const Colliders& GetColliders() const { return mColliders; }

private:
    SpatialCollisionMgr() = default;

    SpatialCollider& CreateCollider(EntityHandle entity);
    void Unlink(SpatialCollider& collider);
    void LinkAtHead(SpatialCollider& collider, OctreeNode& node);
    // Offers every collider near the sphere to `meet`, root
    // first, then depth first through the touched children. Returns false as
    // soon as `meet` does, ending the walk.
    template <class Meet>
    void WalkNear(const glm::vec3& centre, float radius, Meet&& meet);
    template <class Meet>
    bool MeetNode(std::uint32_t code, Meet& meet);
    template <class Meet>
    bool DescendNear(std::uint32_t code, const glm::vec3& centre, float radius, Meet& meet);
    RayHit DescendRay(std::uint32_t code, const glm::vec3& origin, const glm::vec3& direction) const;
    RayHit NearestOwnHit(const OctreeNode& node, const glm::vec3& origin, const glm::vec3& direction) const;

    // A node's colliders as a walk lists them before meeting any.
    struct Listed {
        SpatialCollider* collider;
        EntityHandle entity;
    };
    // The lists are kept from walk to walk, one for each depth of walks
    // within walks (a handler may start one): a node of a whole floor is
    // listed without growing a fresh array each time.
    class ListingLease {
    public:
        explicit ListingLease(SpatialCollisionMgr& manager);
        ~ListingLease() { --mManager.mListingDepth; }
        ListingLease(const ListingLease&) = delete;
        ListingLease& operator=(const ListingLease&) = delete;
        std::vector<Listed>& list;

    private:
        SpatialCollisionMgr& mManager;
    };
    std::vector<Listed>& ListingAt(std::size_t depth);

    Colliders mColliders;
    std::unordered_map<std::uint32_t, OctreeNode> mNodes;
    std::vector<std::unique_ptr<std::vector<Listed>>> mListings;
    std::size_t mListingDepth = 0;
    // Counts destroyed records: while it stands still, a record pointer taken
    // earlier is still good (the map never moves its records).
    std::uint64_t mRemovals = 0;
    // The scene kept aside during a scene load.
    Colliders mAsideColliders;
    std::unordered_map<std::uint32_t, OctreeNode> mAsideNodes;
};

} // namespace Engine
