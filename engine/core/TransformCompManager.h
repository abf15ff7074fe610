#pragma once
#include "engine/core/CompManager.h"
#include "engine/core/EntityHandle.h"

#include <cstddef>
#include <cstdint>
#include <glm/glm.hpp>
#include <unordered_map>
#include <vector>

namespace Engine {

// Hashes a handle by its entity index, matching handle equality.
struct EntityIndexHash {
    std::size_t operator()(const EntityHandle& handle) const noexcept { return handle.GetIndex(); }
};

// Every entity's place in space and in the parent-child hierarchy, kept in
// parallel arrays indexed by a dense data index. Entries whose cached world
// matrix is out of date sit together at the tail ([count - dirty, count)),
// and a dirty entry's descendants are always dirty too, so Update recomputes
// only the tail. Links are entity handles, never data indices, so moving an
// entry never rewrites a link.
class TransformCompManager : public ICompManager {
public:
    static constexpr std::uint32_t kNoIndex = 0xFFFFFFFF;

    // Inline: every transform read of a frame goes through it, tens of
    // thousands a frame on a full arena.
    static TransformCompManager& GetInstance()
    {
        static TransformCompManager instance;
        return instance;
    }

    // The arrays, one element per entry; also the staging area of a load.
    struct Entries {
        std::unordered_map<EntityHandle, std::uint32_t, EntityIndexHash> indexOf;
        std::vector<EntityHandle> owners;
        std::vector<EntityHandle> parents;
        std::vector<EntityHandle> firstChildren;
        std::vector<EntityHandle> nextSiblings;
        std::vector<EntityHandle> prevSiblings;
        std::vector<glm::vec3> positions;
        std::vector<glm::vec3> scales;
        std::vector<glm::vec3> forwards;
        std::vector<glm::vec3> ups;
        std::vector<glm::mat4> worldMatrices;
    };

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mCount; }
    // Recomputes the cached world matrices of the dirty tail.
    void Update() override;
    void Save(nlohmann::json& document) override;
    // A section that fails any check leaves the manager as it was and raises
    // an error that says what was wrong.
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;
    void SwapWithAside() override;

    // Adds a default transform unless the entity has one; null adds nothing.
    EntityHandle AddComponent(EntityHandle entity);
    EntityHandle GetCompHandle(EntityHandle entity) const { return GetComp(*this, entity); }
    std::uint32_t GetDataIndex(EntityHandle entity) const;
    // Marks the entity and its subtree dirty; returns its data index after
    // the move (kNoIndex without a transform).
    std::uint32_t MarkChanged(EntityHandle entity);
    std::uint32_t GetDirtyCount() const { return mDirtyCount; }

    // Links child under parent as its last child. Refused with a warning in
    // log.txt when parent lies below child.
    void SetParent(EntityHandle child, EntityHandle parent);
    void Unlink(EntityHandle parent, EntityHandle child);
    bool IsDescendant(EntityHandle ancestor, EntityHandle entity) const;
    // The parent (null for a root or an entity without a transform).
    EntityHandle GetParentOf(EntityHandle entity) const;

    // The world position of an entry: its local position under its
    // parent's world matrix (a root's is its own).
    glm::vec3 WorldPosition(std::uint32_t index) const;
    glm::mat4 LocalMatrix(std::uint32_t index) const;
    // The cached matrix when the entry is clean, else walked up to the first
    // clean ancestor (or a root) through local matrices.
    glm::mat4 ComputeWorldMatrix(std::uint32_t index) const;
    // The cached world matrix where it lies, for an entry unchanged since the
    // last Update; null for one changed since (ComputeWorldMatrix has it).
    const glm::mat4* CachedWorldMatrix(std::uint32_t index) const
    {
        return IsClean(index) ? &mEntries.worldMatrices[index] : nullptr;
    }
    const Entries& GetEntries() const { return mEntries; }

    using VectorField = std::vector<glm::vec3> Entries::*;
    // One of the entity's vectors, marked changed first. Without a transform
    // it is a scratch value holding the default, so a write goes nowhere.
    glm::vec3& ChangedValue(EntityHandle entity, VectorField field);
    // For reading only: valid until the next marking call, Update or removal.
    const glm::vec3* ValuePtr(EntityHandle entity, VectorField field) const;

private:
    TransformCompManager() = default;

    bool IsClean(std::uint32_t index) const { return index < mCount - mDirtyCount; }
    std::uint32_t IndexOrNone(EntityHandle entity) const;
    void CreateData(EntityHandle entity);
    void SwapData(std::uint32_t a, std::uint32_t b);
    void MakeChildrenRoots(EntityHandle entity);
    void Link(EntityHandle parent, EntityHandle child);
    // Sets every slot from indexOf (after a clear, a swap or a load).
    void RebuildSlots();

    std::uint32_t mDirtyCount = 0;
    std::uint32_t mCount = 0;
    Entries mEntries;
    // indexOf again, as a table by entity index: the lookup every transform
    // read makes, and on a full arena the hottest one of a frame.
    std::vector<std::uint32_t> mSlots = std::vector<std::uint32_t>(EntityHandle::kMaxIndex + 1, kNoIndex);
    glm::vec3 mScratch{0.0f};
    // The scene kept aside during a scene load.
    std::uint32_t mAsideDirtyCount = 0;
    std::uint32_t mAsideCount = 0;
    Entries mAsideEntries;
};

} // namespace Engine
