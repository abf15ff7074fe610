#include "engine/core/TransformCompManager.h"

#include "engine/core/Log.h"
#include "engine/core/Transform3D.h"

#include <algorithm>
#include <utility>

namespace Engine {
namespace {

const glm::vec3 kDefaultPosition(0.0f, 0.0f, 0.0f);
const glm::vec3 kDefaultScale(1.0f, 1.0f, 1.0f);
const glm::vec3 kDefaultForward(0.0f, 0.0f, 1.0f);
const glm::vec3 kDefaultUp(0.0f, 1.0f, 0.0f);

const glm::vec3& DefaultOf(TransformCompManager::VectorField field)
{
    using Entries = TransformCompManager::Entries;
    if (field == &Entries::scales)
        return kDefaultScale;
    if (field == &Entries::forwards)
        return kDefaultForward;
    if (field == &Entries::ups)
        return kDefaultUp;
    return kDefaultPosition;
}

// Applies action to every per-entry array, so that no array is forgotten
// when entries move or go.
template <class Action>
void ForEachColumn(TransformCompManager::Entries& e, Action action)
{
    action(e.owners);
    action(e.parents);
    action(e.firstChildren);
    action(e.nextSiblings);
    action(e.prevSiblings);
    action(e.positions);
    action(e.scales);
    action(e.forwards);
    action(e.ups);
    action(e.worldMatrices);
}

} // namespace

std::uint32_t TransformCompManager::IndexOrNone(EntityHandle entity) const
{
    return entity.IsNull() ? kNoIndex : mSlots[entity.GetIndex()];
}

void TransformCompManager::RebuildSlots()
{
    std::fill(mSlots.begin(), mSlots.end(), kNoIndex);
    for (const auto& [entity, index] : mEntries.indexOf)
        mSlots[entity.GetIndex()] = index;
}

std::uint32_t TransformCompManager::GetDataIndex(EntityHandle entity) const { return IndexOrNone(entity); }

bool TransformCompManager::HasComponent(EntityHandle entity) const { return IndexOrNone(entity) != kNoIndex; }

EntityHandle TransformCompManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return EntityHandle();
    if (!HasComponent(entity))
        CreateData(entity);
    return entity;
}

void TransformCompManager::CreateData(EntityHandle entity)
{
    mEntries.indexOf[entity] = mCount;
    mSlots[entity.GetIndex()] = mCount;
    mEntries.owners.push_back(entity);
    mEntries.parents.emplace_back();
    mEntries.firstChildren.emplace_back();
    mEntries.nextSiblings.emplace_back();
    mEntries.prevSiblings.emplace_back();
    mEntries.positions.push_back(kDefaultPosition);
    mEntries.scales.push_back(kDefaultScale);
    mEntries.forwards.push_back(kDefaultForward);
    mEntries.ups.push_back(kDefaultUp);
    mEntries.worldMatrices.emplace_back(1.0f);
    ++mDirtyCount;
    ++mCount;
}

void TransformCompManager::SwapData(std::uint32_t a, std::uint32_t b)
{
    if (a == b)
        return;
    mEntries.indexOf[mEntries.owners[a]] = b;
    mEntries.indexOf[mEntries.owners[b]] = a;
    mSlots[mEntries.owners[a].GetIndex()] = b;
    mSlots[mEntries.owners[b].GetIndex()] = a;
    ForEachColumn(mEntries, [a, b](auto& column) { std::swap(column[a], column[b]); });
}

std::uint32_t TransformCompManager::MarkChanged(EntityHandle entity)
{
    const std::uint32_t index = IndexOrNone(entity);
    if (index == kNoIndex || !IsClean(index))
        return index;
    // Depth first, children in sibling order, as a recursion would go; an
    // explicit stack keeps a 4095-deep chain off the call stack.
    std::vector<EntityHandle> pending{entity};
    while (!pending.empty()) {
        const EntityHandle current = pending.back();
        pending.pop_back();
        const std::uint32_t i = mEntries.indexOf.at(current);
        if (!IsClean(i))
            continue; // its subtree is dirty already
        SwapData(i, mCount - mDirtyCount - 1);
        ++mDirtyCount;
        const std::size_t firstPushed = pending.size();
        for (EntityHandle child = mEntries.firstChildren[mEntries.indexOf.at(current)]; !child.IsNull();
             child = mEntries.nextSiblings[mEntries.indexOf.at(child)])
            pending.push_back(child);
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstPushed), pending.end());
    }
    return mEntries.indexOf.at(entity);
}

void TransformCompManager::MakeChildrenRoots(EntityHandle entity)
{
    EntityHandle child = mEntries.firstChildren[mEntries.indexOf.at(entity)];
    while (!child.IsNull()) {
        const std::uint32_t i = MarkChanged(child);
        const EntityHandle next = mEntries.nextSiblings[i];
        mEntries.parents[i] = EntityHandle();
        mEntries.prevSiblings[i] = EntityHandle();
        mEntries.nextSiblings[i] = EntityHandle();
        child = next;
    }
    mEntries.firstChildren[mEntries.indexOf.at(entity)] = EntityHandle();
}

void TransformCompManager::RemoveComponent(EntityHandle entity)
{
    if (!HasComponent(entity))
        return;
    const EntityHandle parent = mEntries.parents[mEntries.indexOf.at(entity)];
    if (!parent.IsNull())
        Unlink(parent, entity);
    MakeChildrenRoots(entity);

    // Keep the dirty entries at the tail: a clean entry first trades places
    // with the last clean one, so the entry that fills the hole is dirty.
    std::uint32_t i = mEntries.indexOf.at(entity);
    const std::uint32_t firstDirty = mCount - mDirtyCount;
    if (i < firstDirty) {
        SwapData(i, firstDirty - 1);
        i = firstDirty - 1;
    } else {
        --mDirtyCount;
    }
    --mCount;
    SwapData(i, mCount);
    ForEachColumn(mEntries, [](auto& column) { column.pop_back(); });
    mEntries.indexOf.erase(entity);
    mSlots[entity.GetIndex()] = kNoIndex;
}

void TransformCompManager::Clear()
{
    mEntries = Entries();
    mCount = 0;
    mDirtyCount = 0;
    RebuildSlots();
}

void TransformCompManager::SwapWithAside()
{
    std::swap(mEntries, mAsideEntries);
    std::swap(mCount, mAsideCount);
    std::swap(mDirtyCount, mAsideDirtyCount);
    RebuildSlots();
}

bool TransformCompManager::IsDescendant(EntityHandle ancestor, EntityHandle entity) const
{
    if (!HasComponent(ancestor))
        return false;
    // Up the entity's chain of parents: no longer than the entry count.
    EntityHandle parent = GetParentOf(entity);
    for (std::uint32_t steps = 0; !parent.IsNull() && steps < mCount; ++steps) {
        if (parent == ancestor)
            return true;
        parent = GetParentOf(parent);
    }
    return false;
}

EntityHandle TransformCompManager::GetParentOf(EntityHandle entity) const
{
    const std::uint32_t index = IndexOrNone(entity);
    return index == kNoIndex ? EntityHandle() : mEntries.parents[index];
}

void TransformCompManager::SetParent(EntityHandle child, EntityHandle parent)
{
    if (!HasComponent(child) || !HasComponent(parent))
        return;
    if (IsDescendant(child, parent)) {
        LogWarning("Attempted to link a parent to its own child without detaching child first.");
        return;
    }
    Link(parent, child);
}

void TransformCompManager::Link(EntityHandle parent, EntityHandle child)
{
    if (parent == child || mEntries.parents[mEntries.indexOf.at(child)] == parent)
        return;
    const EntityHandle oldParent = mEntries.parents[mEntries.indexOf.at(child)];
    if (!oldParent.IsNull())
        Unlink(oldParent, child);

    Entries& e = mEntries;
    const std::uint32_t p = e.indexOf.at(parent);
    const std::uint32_t c = e.indexOf.at(child);
    if (e.firstChildren[p].IsNull()) {
        e.firstChildren[p] = child;
    } else {
        EntityHandle last = e.firstChildren[p];
        while (!e.nextSiblings[e.indexOf.at(last)].IsNull())
            last = e.nextSiblings[e.indexOf.at(last)];
        e.nextSiblings[e.indexOf.at(last)] = child;
        e.prevSiblings[c] = last;
    }
    e.parents[c] = parent;
    MarkChanged(child);
}

void TransformCompManager::Unlink(EntityHandle parent, EntityHandle child)
{
    const std::uint32_t c = IndexOrNone(child);
    const std::uint32_t p = IndexOrNone(parent);
    if (c == kNoIndex || p == kNoIndex || parent.IsNull() || !(mEntries.parents[c] == parent))
        return;
    Entries& e = mEntries;
    const EntityHandle prev = e.prevSiblings[c];
    const EntityHandle next = e.nextSiblings[c];
    if (e.firstChildren[p] == child)
        e.firstChildren[p] = next;
    if (!prev.IsNull())
        e.nextSiblings[e.indexOf.at(prev)] = next;
    if (!next.IsNull())
        e.prevSiblings[e.indexOf.at(next)] = prev;
    e.nextSiblings[c] = EntityHandle();
    e.prevSiblings[c] = EntityHandle();
    e.parents[c] = EntityHandle();
    MarkChanged(child);
}

glm::mat4 TransformCompManager::LocalMatrix(std::uint32_t index) const
{
    return Transform3D::ModelMatrix(mEntries.positions[index], mEntries.scales[index], mEntries.forwards[index],
                                    mEntries.ups[index]);
}

glm::vec3 TransformCompManager::WorldPosition(std::uint32_t index) const
{
    const glm::vec3& local = mEntries.positions[index];
    const EntityHandle parent = mEntries.parents[index];
    if (parent.IsNull())
        return local;
    const glm::vec4 at(local, 1.0f);
    const std::uint32_t p = IndexOrNone(parent);
    if (p == kNoIndex)
        return glm::vec3(glm::mat4(1.0f) * at); // a parent without a transform stands at the origin
    // A clean parent's cached matrix is used where it lies, not copied.
    return glm::vec3(IsClean(p) ? mEntries.worldMatrices[p] * at : ComputeWorldMatrix(p) * at);
}

glm::mat4 TransformCompManager::ComputeWorldMatrix(std::uint32_t index) const
{
    // Callers between updates read the very matrix Update stored, not a
    // product that rounds differently.
    if (IsClean(index))
        return mEntries.worldMatrices[index];
    glm::mat4 world = LocalMatrix(index);
    EntityHandle parent = mEntries.parents[index];
    // Bounded by the entry count: a chain can be no longer than that.
    for (std::uint32_t steps = 0; !parent.IsNull() && steps < mCount; ++steps) {
        const std::uint32_t p = IndexOrNone(parent);
        if (p == kNoIndex)
            break; // a parent without a transform counts as the world origin
        if (IsClean(p))
            return mEntries.worldMatrices[p] * world;
        world = LocalMatrix(p) * world;
        parent = mEntries.parents[p];
    }
    return world;
}

void TransformCompManager::Update()
{
    if (mDirtyCount == 0)
        return;
    for (std::uint32_t i = mCount - mDirtyCount; i < mCount; ++i) {
        const std::uint32_t p = IndexOrNone(mEntries.parents[i]);
        if (p != kNoIndex && p > i)
            SwapData(i, p);
        mEntries.worldMatrices[i] = ComputeWorldMatrix(i);
    }
    mDirtyCount = 0;
}

glm::vec3& TransformCompManager::ChangedValue(EntityHandle entity, VectorField field)
{
    const std::uint32_t index = MarkChanged(entity);
    if (index == kNoIndex) {
        mScratch = DefaultOf(field);
        return mScratch;
    }
    return (mEntries.*field)[index];
}

const glm::vec3* TransformCompManager::ValuePtr(EntityHandle entity, VectorField field) const
{
    const std::uint32_t index = IndexOrNone(entity);
    return index == kNoIndex ? &DefaultOf(field) : &(mEntries.*field)[index];
}

} // namespace Engine
