#include "engine/collision/SpatialCollisionMgr.h"

#include "engine/core/Transform.h"

#include <algorithm>

namespace Engine {
namespace {

// The world box around the entity's oriented box: its eight corners
// P +- s.y up +- s.z forward +- s.x right, as centre and half-extents.
Octree::Box3 WorldBounds(EntityHandle entity)
{
    const Transform3D t = MakeTransform3D(entity);
    const glm::vec3 right = glm::cross(t.forward, t.up);
    glm::vec3 low(0.0f);
    glm::vec3 high(0.0f);
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner = t.pos + ((i & 1) ? t.scale.y : -t.scale.y) * t.up
            + ((i & 2) ? t.scale.z : -t.scale.z) * t.forward + ((i & 4) ? t.scale.x : -t.scale.x) * right;
        low = i == 0 ? corner : glm::min(low, corner);
        high = i == 0 ? corner : glm::max(high, corner);
    }
    return Octree::Box3{0.5f * (low + high), 0.5f * (high - low)};
}

} // namespace

SpatialCollisionMgr& SpatialCollisionMgr::GetInstance()
{
    static SpatialCollisionMgr instance;
    return instance;
}

std::uint32_t SpatialCollisionMgr::PointToCode(const glm::ivec3& point)
{
    return Octree::PointToCode(point, kWorldSize, kMaxDepth);
}

std::uint32_t SpatialCollisionMgr::BoxToCode(const glm::vec3& centre, const glm::vec3& half)
{
    return Octree::BoxToCode(centre, half, kWorldSize, kMaxDepth);
}

Octree::Box SpatialCollisionMgr::CodeToBox(std::uint32_t code) { return Octree::CodeToBox(code, kWorldSize); }

void SpatialCollisionMgr::RemoveComponent(EntityHandle entity)
{
    const auto found = mColliders.find(entity);
    if (found == mColliders.end())
        return;
    OctreeNode* node = found->second.node;
    Unlink(found->second);
    mColliders.erase(found);
    ++mRemovals;
    if (node)
        PruneNode(node);
}

bool SpatialCollisionMgr::HasComponent(EntityHandle entity) const { return mColliders.contains(entity); }

void SpatialCollisionMgr::Clear()
{
    mNodes.clear();
    mColliders.clear();
    ++mRemovals;
}

void SpatialCollisionMgr::SwapWithAside()
{
    mNodes.swap(mAsideNodes);
    mColliders.swap(mAsideColliders);
    // Records taken earlier belong to the other scene now.
    ++mRemovals;
}

EntityHandle SpatialCollisionMgr::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return EntityHandle();
    if (!HasComponent(entity))
        UpdateCollider(entity);
    return entity;
}

SpatialCollider* SpatialCollisionMgr::GetCompPtr(EntityHandle entity)
{
    return AddComponent(entity).IsNull() ? nullptr : FindCollider(entity);
}

SpatialCollider* SpatialCollisionMgr::FindCollider(EntityHandle entity)
{
    const auto found = mColliders.find(entity);
    return found == mColliders.end() ? nullptr : &found->second;
}

const SpatialCollider* SpatialCollisionMgr::FindCollider(EntityHandle entity) const
{
    const auto found = mColliders.find(entity);
    return found == mColliders.end() ? nullptr : &found->second;
}

SpatialCollider& SpatialCollisionMgr::CreateCollider(EntityHandle entity)
{
    SpatialCollider& collider = mColliders.try_emplace(entity).first->second;
    collider.entity = entity;
    return collider;
}

void SpatialCollisionMgr::UpdateCollider(EntityHandle entity)
{
    if (entity.IsNull())
        return;
    const Octree::Box3 bounds = WorldBounds(entity);
    SpatialCollider* found = FindCollider(entity);
    SpatialCollider& collider = found ? *found : CreateCollider(entity);
    OctreeNode& node = *GetOrCreateNode(BoxToCode(bounds.centre, bounds.half));
    if (collider.node == &node)
        return;
    OctreeNode* old = collider.node;
    Unlink(collider);
    LinkAtHead(collider, node);
    if (old)
        PruneNode(old);
}

void SpatialCollisionMgr::UpdateAll()
{
    // Re-filing never adds or removes a collider, so the walk is stable.
    for (auto& [entity, collider] : mColliders)
        UpdateCollider(entity);
}

void SpatialCollisionMgr::Unlink(SpatialCollider& collider)
{
    if (collider.previous)
        collider.previous->next = collider.next;
    else if (collider.node)
        collider.node->firstCollider = collider.next;
    if (collider.next)
        collider.next->previous = collider.previous;
    collider.previous = nullptr;
    collider.next = nullptr;
    collider.node = nullptr;
}

void SpatialCollisionMgr::LinkAtHead(SpatialCollider& collider, OctreeNode& node)
{
    collider.node = &node;
    collider.previous = nullptr;
    collider.next = node.firstCollider;
    if (node.firstCollider)
        node.firstCollider->previous = &collider;
    node.firstCollider = &collider;
}

OctreeNode* SpatialCollisionMgr::FindNode(std::uint32_t code)
{
    const auto found = mNodes.find(code);
    return found == mNodes.end() ? nullptr : &found->second;
}

const OctreeNode* SpatialCollisionMgr::FindNode(std::uint32_t code) const
{
    const auto found = mNodes.find(code);
    return found == mNodes.end() ? nullptr : &found->second;
}

OctreeNode* SpatialCollisionMgr::GetOrCreateNode(std::uint32_t code)
{
    if (OctreeNode* node = FindNode(code))
        return node;
    // Codes only ever come from the code functions; 0 is no node.
    if (code == 0)
        code = Octree::kRootCode;
    OctreeNode& node = mNodes[code];
    node.code = code;
    if (code != Octree::kRootCode)
        GetOrCreateNode(code >> 3)->childMask |= static_cast<std::uint8_t>(1u << (code & 7u));
    return &node;
}

void SpatialCollisionMgr::PruneNode(OctreeNode* node)
{
    while (node && !node->firstCollider && node->childMask == 0) {
        const std::uint32_t code = node->code;
        OctreeNode* parent = nullptr;
        if (code != Octree::kRootCode) {
            parent = FindNode(code >> 3);
            if (parent)
                parent->childMask &= static_cast<std::uint8_t>(~(1u << (code & 7u)));
        }
        mNodes.erase(code);
        node = parent;
    }
}

std::size_t SpatialCollisionMgr::CollidersIn(std::uint32_t code) const
{
    const OctreeNode* node = FindNode(code);
    std::size_t count = 0;
    for (const SpatialCollider* at = node ? node->firstCollider : nullptr; at; at = at->next)
        ++count;
    return count;
}

} // namespace Engine
