#include "engine/core/EntityTagCompManager.h"

#include <algorithm>
#include <utility>

namespace Engine {
namespace {

bool Holds(const EntityTagCompManager::TagList& tags, const std::string& tag)
{
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

} // namespace

EntityTagCompManager::Tables::Tables()
{
    tagIndices.fill(kNone);
    tagOwnerIndices.fill(kNone);
}

EntityTagCompManager& EntityTagCompManager::GetInstance()
{
    static EntityTagCompManager instance;
    return instance;
}

bool EntityTagCompManager::HasComponent(EntityHandle entity) const
{
    return !entity.IsNull() && mTables.tagIndices[entity.GetIndex()] != kNone;
}

EntityHandle EntityTagCompManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return EntityHandle();
    if (HasComponent(entity))
        return entity;
    const auto slot = static_cast<std::uint16_t>(mTables.tagVecs.size());
    mTables.tagIndices[entity.GetIndex()] = slot;
    mTables.tagOwnerIndices[slot] = static_cast<std::uint16_t>(entity.GetIndex());
    mTables.tagVecs.emplace_back();
    return entity;
}

void EntityTagCompManager::RemoveComponent(EntityHandle entity)
{
    if (!HasComponent(entity))
        return;
    Tables& t = mTables;
    const std::uint16_t removed = t.tagIndices[entity.GetIndex()];
    const auto last = static_cast<std::uint16_t>(t.tagVecs.size() - 1);
    if (removed != last) {
        std::swap(t.tagIndices[t.tagOwnerIndices[last]], t.tagIndices[entity.GetIndex()]);
        std::swap(t.tagOwnerIndices[removed], t.tagOwnerIndices[last]);
        std::swap(t.tagVecs[removed], t.tagVecs[last]);
    }
    t.tagVecs.pop_back();
    t.tagOwnerIndices[last] = kNone;
    t.tagIndices[entity.GetIndex()] = kNone;
}

void EntityTagCompManager::Clear() { mTables = Tables(); }

void EntityTagCompManager::AddTag(EntityHandle entity, const std::string& tag)
{
    if (AddComponent(entity).IsNull())
        return;
    TagList& tags = mTables.tagVecs[mTables.tagIndices[entity.GetIndex()]];
    if (!Holds(tags, tag))
        tags.push_back(tag);
}

bool EntityTagCompManager::HasTag(EntityHandle entity, const std::string& tag) const
{
    return HasComponent(entity) && Holds(mTables.tagVecs[mTables.tagIndices[entity.GetIndex()]], tag);
}

const EntityTagCompManager::TagList& EntityTagCompManager::GetTags(EntityHandle entity) const
{
    static const TagList none;
    return HasComponent(entity) ? mTables.tagVecs[mTables.tagIndices[entity.GetIndex()]] : none;
}

std::vector<EntityHandle> EntityTagCompManager::FindEntitiesWithTag(const std::string& tag) const
{
    std::vector<EntityHandle> found;
    for (std::uint32_t index = 1; index < kTableSize; ++index) {
        const std::uint16_t slot = mTables.tagIndices[index];
        if (slot != kNone && Holds(mTables.tagVecs[slot], tag))
            found.emplace_back(index);
    }
    return found;
}

} // namespace Engine
