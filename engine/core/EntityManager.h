#pragma once
#include "engine/core/EntityHandle.h"

#include <array>
#include <cstdint>
#include <deque>
#include <nlohmann/json_fwd.hpp>
#include <vector>

namespace Engine {

// The one allocator of entity handles: at most 4095 live entities, freed
// indices reused first in, first out, and destruction deferred to Flush (the
// frame's entity phase) so that an entity stays whole for the rest of the frame
// it was destroyed in.
//
// Scene-file section "EntityMgr" (keys in ascending order):
//   "handles"           array of 4096 booleans, in-use flag of index 0..4095
//   "handles_in_use"    unsigned, live entity count
//   "max_handle_count"  unsigned, 4095
//   "version"           signed, 1
// Generations and the free queue are not stored: after a load every
// generation is 0. A section without "version" (older files) is a bare
// "handles" array of at most 4096 booleans; longer ones are cut to 4096.
// Another version loads as an empty manager. Flag 0 is never set.
class EntityMgr {
public:
    static constexpr std::uint32_t kMaxEntities = EntityHandle::kMaxIndex;
    static constexpr std::uint32_t kFlagCount = kMaxEntities + 1;
    static constexpr int kVersion = 1;

    static EntityMgr& GetInstance();

    EntityMgr(const EntityMgr&) = delete;
    EntityMgr& operator=(const EntityMgr&) = delete;

    // A new handle, or the null handle when all 4095 indices are live.
    EntityHandle CreateEntity();
    // Queues a current handle for the next Flush; null and stale ones are ignored.
    void DestroyEntity(const EntityHandle& handle);
    // Whether the handle waits for the next Flush to go.
    bool IsQueuedForDestruction(const EntityHandle& handle) const;
    // Removes every queued entity's components through every component manager,
    // then frees its index with the generation advanced. Destructions queued
    // by a manager meanwhile are served in the same call.
    void Flush();
    // Frees every live index at once without touching any component manager.
    void DestroyAll();
    void Reset();

    std::uint32_t GetCount() const { return mCount; }
    // The stored generation of an index; 0 for index 0 or past 4095.
    std::uint32_t GetGeneration(std::uint32_t index) const;
    bool IsInUse(std::uint32_t index) const { return index < kFlagCount && mInUse[index] != 0; }
    std::vector<EntityHandle> GetAllHandles() const;

    // The whole allocation state, generations and queued destructions
    // included; a failed scene load puts it back so that handles held
    // elsewhere stay current and nothing queued is forgotten.
    struct Snapshot {
        std::uint32_t count = 0;
        std::array<std::uint16_t, kMaxEntities> generations{};
        std::array<std::uint8_t, kFlagCount> inUse{};
        std::deque<std::uint32_t> free;
        std::vector<EntityHandle> pending;
    };
    Snapshot TakeSnapshot() const;
    void RestoreSnapshot(const Snapshot& snapshot);

    void Save(nlohmann::json& document) const;
    // Throws the JSON library's errors for a malformed section; the manager is
    // then empty.
    void Load(const nlohmann::json& document);

private:
    EntityMgr();

    using FlagTable = std::array<std::uint8_t, kFlagCount>;

    void ReleasePending(std::vector<EntityHandle>& handles);
    void ApplyFlags(const FlagTable& flags);
    static FlagTable ReadFlags(const nlohmann::json& section, bool versioned);

    std::uint32_t mCount = 0;
    std::array<std::uint16_t, kMaxEntities> mGenerations{};
    FlagTable mInUse{};
    std::deque<std::uint32_t> mFree;
    std::vector<EntityHandle> mPending;
    bool mFlushing = false;
};

} // namespace Engine
