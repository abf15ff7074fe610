#include "engine/core/EntityNameCompManager.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace Engine {
namespace {

// Bytes needed by the UTF-8 sequence that a lead byte opens.
std::size_t SequenceLength(unsigned char lead)
{
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

// Where to cut text to at most limit bytes without splitting a character.
std::size_t CutPoint(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    std::size_t start = limit;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start; // back over continuation bytes to the character's lead byte
    if (start == 0)
        return limit; // no lead byte at all: not UTF-8, cut where asked
    const std::size_t lead = start - 1;
    return lead + SequenceLength(static_cast<unsigned char>(text[lead])) > limit ? lead : limit;
}

} // namespace

EntityNameCompManager::Tables::Tables()
{
    nameIndices.fill(kNone);
    ownerIndices.fill(kNone);
}

EntityNameCompManager::Name EntityNameCompManager::MakeName(std::string_view text)
{
    Name name{};
    const std::size_t length = CutPoint(text.substr(0, text.find('\0')), kNameSize - 1);
    std::memcpy(name.data(), text.data(), length);
    return name;
}

EntityNameCompManager& EntityNameCompManager::GetInstance()
{
    static EntityNameCompManager instance;
    return instance;
}

bool EntityNameCompManager::HasComponent(EntityHandle entity) const
{
    return !entity.IsNull() && mTables.nameIndices[entity.GetIndex()] != kNone;
}

EntityHandle EntityNameCompManager::AddComponent(EntityHandle entity, const char* name)
{
    if (entity.IsNull())
        return EntityHandle();
    if (HasComponent(entity))
        return entity;
    const auto slot = static_cast<std::uint16_t>(mTables.names.size());
    mTables.nameIndices[entity.GetIndex()] = slot;
    mTables.ownerIndices[slot] = static_cast<std::uint16_t>(entity.GetIndex());
    mTables.names.push_back(MakeName(name ? name : kDefaultName));
    return entity;
}

void EntityNameCompManager::RemoveComponent(EntityHandle entity)
{
    if (!HasComponent(entity))
        return;
    Tables& t = mTables;
    const std::uint16_t removed = t.nameIndices[entity.GetIndex()];
    const auto last = static_cast<std::uint16_t>(t.names.size() - 1);
    if (removed != last) {
        std::swap(t.nameIndices[t.ownerIndices[last]], t.nameIndices[entity.GetIndex()]);
        std::swap(t.ownerIndices[removed], t.ownerIndices[last]);
        std::swap(t.names[removed], t.names[last]);
    }
    // The freed slot's owner entry keeps the removed entity's index; entries
    // past the last slot carry no meaning.
    t.nameIndices[entity.GetIndex()] = kNone;
    t.names.pop_back();
}

void EntityNameCompManager::Clear() { mTables = Tables(); }

const char* EntityNameCompManager::GetName(EntityHandle entity) const
{
    if (!HasComponent(entity))
        return "";
    return mTables.names[mTables.nameIndices[entity.GetIndex()]].data();
}

void EntityNameCompManager::SetName(EntityHandle entity, const char* name)
{
    if (name && HasComponent(entity))
        mTables.names[mTables.nameIndices[entity.GetIndex()]] = MakeName(name);
}

template <class Match>
std::vector<EntityHandle> EntityNameCompManager::FindEntities(Match match) const
{
    std::vector<EntityHandle> found;
    for (std::size_t slot = 0; slot < mTables.names.size(); ++slot) {
        if (match(mTables.names[slot].data()))
            found.emplace_back(mTables.ownerIndices[slot]);
    }
    return found;
}

std::vector<EntityHandle> EntityNameCompManager::FindEntitiesByName(const char* name) const
{
    if (!name)
        return {};
    return FindEntities([name](const char* stored) { return std::strncmp(stored, name, kNameSize) == 0; });
}

std::vector<EntityHandle> EntityNameCompManager::FindEntitiesByNamePrefix(const char* prefix) const
{
    if (!prefix)
        return {};
    const std::size_t length = std::strlen(prefix);
    // A prefix longer than a slot cannot match; comparing only within the
    // slot keeps the scan inside it.
    if (length >= kNameSize)
        return {};
    return FindEntities([prefix, length](const char* stored) { return std::strncmp(stored, prefix, length) == 0; });
}

void SetEntityName(EntityHandle entity, const char* name)
{
    EntityNameCompManager& names = EntityNameCompManager::GetInstance();
    names.AddComponent(entity);
    names.SetName(entity, name);
}

} // namespace Engine
