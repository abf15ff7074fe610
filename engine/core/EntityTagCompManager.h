#pragma once
#include "engine/core/CompManager.h"
#include "engine/core/EntityHandle.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Engine {

// Text tags per entity ("Player", "Ball", "Tile"), which gameplay tests when
// two entities meet. An entity has at most one tag list; a list holds each
// tag once, in the order first added, compared byte for byte (case matters).
// Lists stay dense in slots: removing one moves the last list into the hole.
class EntityTagCompManager : public ICompManager {
public:
    static constexpr std::uint32_t kTableSize = 4096;
    static constexpr std::uint16_t kNone = 0xFFFF;

    using TagList = std::vector<std::string>;
    // Entity index -> slot and slot -> entity index (kNone past the last
    // slot), plus the lists; also the staging area of a load.
    struct Tables {
        Tables();
        std::array<std::uint16_t, kTableSize> tagIndices;
        std::array<std::uint16_t, kTableSize> tagOwnerIndices;
        std::vector<TagList> tagVecs;
    };

    static EntityTagCompManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    // The number of entities with a tag list.
    std::uint64_t Count() const override { return mTables.tagVecs.size(); }
    void Save(nlohmann::json& document) override;
    // A section that fails any check leaves the tags as they were and raises
    // an error that says what was wrong.
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;
    void SwapWithAside() override { std::swap(mTables, mAside); }

    // Gives the entity an empty tag list unless it has one; the null handle
    // gets nothing and null comes back.
    EntityHandle AddComponent(EntityHandle entity);
    // Appends the tag unless the entity has it, creating the list if needed.
    void AddTag(EntityHandle entity, const std::string& tag);
    bool HasTag(EntityHandle entity, const std::string& tag) const;
    // Empty for an entity without a list. Valid until a list is added or removed.
    const TagList& GetTags(EntityHandle entity) const;
    bool HasTagComp(EntityHandle entity) const { return HasComponent(entity); }
    EntityHandle GetCompHandle(EntityHandle entity) const { return GetComp(*this, entity); }
    // Every entity carrying the tag, in ascending entity index.
    std::vector<EntityHandle> FindEntitiesWithTag(const std::string& tag) const;

private:
    EntityTagCompManager() = default;

    Tables mTables;
    // The scene kept aside during a scene load.
    Tables mAside;
};

} // namespace Engine
