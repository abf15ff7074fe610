// Reads and writes the scene file's "EntityMgr" section:
//   {"handles": [4096 booleans, index 0..4095], "handles_in_use": unsigned,
//    "max_handle_count": 4095, "version": 1}
// Limits: exactly 4096 flags are read (fewer is out_of_range 401); flag 0 is
// never set; the count is taken from the flags. Without "version", at most the
// first 4096 flags are read. Nothing is applied until the whole section reads.
#include "engine/core/EntityManager.h"

#include "engine/core/CompManager.h"
#include "engine/core/FlagGuard.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

namespace Engine {
namespace {

EntityHandle MakeHandle(std::uint32_t index, std::uint32_t generation)
{
    EntityHandle handle;
    handle.value = static_cast<std::uint16_t>((index << EntityHandle::kIndexShift) | generation);
    return handle;
}

void RemoveFromEveryManager(const EntityHandle& handle)
{
    ICompManager::ForEachManager([&handle](ICompManager& manager) { manager.RemoveComponent(handle); });
}

} // namespace

EntityMgr& EntityMgr::GetInstance()
{
    static EntityMgr instance;
    return instance;
}

EntityMgr::EntityMgr() { Reset(); }

std::uint32_t EntityMgr::GetGeneration(std::uint32_t index) const
{
    if (index == 0 || index > kMaxEntities)
        return 0;
    return mGenerations[index - 1];
}

EntityHandle EntityMgr::CreateEntity()
{
    if (mFree.empty())
        return EntityHandle();
    const std::uint32_t index = mFree.front();
    mFree.pop_front();
    ++mCount;
    mInUse[index] = 1;
    return MakeHandle(index, GetGeneration(index));
}

void EntityMgr::DestroyEntity(const EntityHandle& handle)
{
    if (handle.IsValid())
        mPending.push_back(handle);
}

bool EntityMgr::IsQueuedForDestruction(const EntityHandle& handle) const
{
    return std::find(mPending.begin(), mPending.end(), handle) != mPending.end();
}

void EntityMgr::Flush()
{
    // A manager that flushes from inside its removal is served by the loop below.
    if (mFlushing)
        return;
    FlagGuard flushing(mFlushing);
    std::vector<EntityHandle> batch;
    while (!mPending.empty()) {
        batch.swap(mPending);
        for (const EntityHandle& handle : batch) {
            // A handle queued again by a manager after its index was already
            // freed in an earlier round must not reach a reused index.
            if (handle.IsValid())
                RemoveFromEveryManager(handle);
        }
        ReleasePending(batch);
        batch.clear();
    }
}

void EntityMgr::ReleasePending(std::vector<EntityHandle>& handles)
{
    std::vector<std::uint32_t> indices;
    indices.reserve(handles.size());
    for (const EntityHandle& handle : handles) {
        if (handle.Exists())
            indices.push_back(handle.GetIndex());
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (std::uint32_t index : indices) {
        std::uint16_t& generation = mGenerations[index - 1];
        generation = static_cast<std::uint16_t>((generation + 1) & EntityHandle::kGenerationMask);
        mInUse[index] = 0;
        mFree.push_back(index);
    }
    mCount -= static_cast<std::uint32_t>(indices.size());
    handles.clear();
}

void EntityMgr::DestroyAll()
{
    for (std::uint32_t index = 1; index <= kMaxEntities; ++index) {
        if (mInUse[index])
            mPending.push_back(MakeHandle(index, GetGeneration(index)));
    }
    ReleasePending(mPending);
}

EntityMgr::Snapshot EntityMgr::TakeSnapshot() const
{
    Snapshot snapshot;
    snapshot.count = mCount;
    snapshot.generations = mGenerations;
    snapshot.inUse = mInUse;
    snapshot.free = mFree;
    snapshot.pending = mPending;
    return snapshot;
}

void EntityMgr::RestoreSnapshot(const Snapshot& snapshot)
{
    mCount = snapshot.count;
    mGenerations = snapshot.generations;
    mInUse = snapshot.inUse;
    mFree = snapshot.free;
    mPending = snapshot.pending;
}

void EntityMgr::Reset()
{
    mCount = 0;
    mGenerations.fill(0);
    mInUse.fill(0);
    mPending.clear();
    mFree.clear();
    for (std::uint32_t index = 1; index <= kMaxEntities; ++index)
        mFree.push_back(index);
}

std::vector<EntityHandle> EntityMgr::GetAllHandles() const
{
    std::vector<EntityHandle> handles;
    handles.reserve(mCount);
    for (std::uint32_t index = 1; index <= kMaxEntities; ++index) {
        if (mInUse[index])
            handles.push_back(MakeHandle(index, GetGeneration(index)));
    }
    return handles;
}

void EntityMgr::Save(nlohmann::json& document) const
{
    nlohmann::json handles = nlohmann::json::array();
    for (std::uint32_t index = 0; index < kFlagCount; ++index)
        handles.push_back(mInUse[index] != 0);

    nlohmann::json& section = document["EntityMgr"];
    section = nlohmann::json::object();
    section["handles"] = std::move(handles);
    section["handles_in_use"] = mCount;
    section["max_handle_count"] = kMaxEntities;
    section["version"] = kVersion;
}

void EntityMgr::Load(const nlohmann::json& document)
{
    Reset();
    const auto member = document.find("EntityMgr");
    const nlohmann::json& section = (member != document.end()) ? *member : document;

    const auto version = section.find("version");
    const bool versioned = version != section.end();
    if (versioned) {
        const double number = Json::ReadNumber(*version);
        if (!(number >= kVersion && number < kVersion + 1))
            return;
    }
    const FlagTable flags = ReadFlags(section, versioned);
    const double storedCount = versioned ? Json::ReadNumber(section.at("handles_in_use")) : 0.0;
    ApplyFlags(flags);
    if (versioned && storedCount != static_cast<double>(mCount)) {
        std::cerr << "EntityMgr: \"handles_in_use\" " << section.at("handles_in_use").dump()
                  << " does not match the " << mCount << " entities flagged in use; keeping " << mCount << '\n';
    }
}

EntityMgr::FlagTable EntityMgr::ReadFlags(const nlohmann::json& section, bool versioned)
{
    const nlohmann::json& handles = SceneFormat::ArrayMember(section, "handles", "EntityMgr");
    const std::size_t count = versioned ? kFlagCount : std::min<std::size_t>(handles.size(), kFlagCount);
    FlagTable flags{};
    for (std::size_t index = 0; index < count; ++index)
        flags[index] = handles.at(index).get<bool>() ? 1 : 0;
    return flags;
}

void EntityMgr::ApplyFlags(const FlagTable& flags)
{
    mInUse = flags;
    mInUse[0] = 0;
    mCount = 0;
    mFree.clear();
    for (std::uint32_t index = 1; index <= kMaxEntities; ++index) {
        if (mInUse[index])
            ++mCount;
        else
            mFree.push_back(index);
    }
}

} // namespace Engine
