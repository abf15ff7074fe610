#include "engine/collision/CollisionTable.h"

#include "engine/core/Log.h"

#include <algorithm>
#include <limits>

namespace Engine {
namespace {

constexpr std::uint32_t kLastValue = std::numeric_limits<std::uint32_t>::max();

CollisionTable::PairKey KeyOf(std::uint32_t a, std::uint32_t b) { return {std::min(a, b), std::max(a, b)}; }

} // namespace

void CollisionTable::SwapContents(Contents& other)
{
    mTags.swap(other.tags);
    mRelations.swap(other.relations);
}

CollisionTable& CollisionTable::GetInstance()
{
    static CollisionTable instance;
    return instance;
}

const CollisionTable::Tag* CollisionTable::FindTag(const std::string& name) const
{
    const auto found = std::find_if(mTags.begin(), mTags.end(), [&name](const Tag& tag) { return tag.name == name; });
    return found == mTags.end() ? nullptr : &*found;
}

void CollisionTable::AddTag(const std::string& name)
{
    if (FindTag(name))
        return;
    // One past the largest rather than past the last: a loaded file may list
    // its tags in any order, and a new tag must never take an existing value.
    std::uint32_t value = 0;
    for (const Tag& tag : mTags) {
        if (tag.value == kLastValue) {
            LogWarning("[CollisionTable] No value is left for the tag \"%s\".", name.c_str());
            return;
        }
        value = std::max(value, tag.value + 1);
    }
    mTags.push_back(Tag{name, value});
    for (const Tag& tag : mTags)
        mRelations[KeyOf(tag.value, value)] = kCollide;
}

void CollisionTable::SetPair(const std::string& first, const std::string& second, int relation)
{
    const Tag* a = FindTag(first);
    const Tag* b = FindTag(second);
    if (a && b)
        mRelations[KeyOf(a->value, b->value)] = relation;
}

int CollisionTable::GetRelation(std::uint32_t a, std::uint32_t b) const
{
    const auto found = mRelations.find(KeyOf(a, b));
    return found == mRelations.end() ? kUnsetPair : found->second;
}

bool CollisionTable::HasTag(const std::string& name) const { return FindTag(name) != nullptr; }

std::uint32_t CollisionTable::GetTagValue(const std::string& name) const
{
    const Tag* tag = FindTag(name);
    return tag ? tag->value : 0;
}

void CollisionTable::AssignTagValue(const std::string& name, unsigned int& value) const
{
    if (const Tag* tag = FindTag(name))
        value = tag->value;
}

} // namespace Engine
