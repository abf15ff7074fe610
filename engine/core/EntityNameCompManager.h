#pragma once
#include "engine/core/CompManager.h"
#include "engine/core/EntityHandle.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace Engine {

// Short fixed-size entity names (at most 15 characters in 16-byte slots), so
// code can find entities by name or prefix with one scan and no allocation.
// Slots stay dense: removing a name moves the last slot into the hole, and
// every lookup answers in slot order.
class EntityNameCompManager : public ICompManager {
public:
    static constexpr std::uint32_t kTableSize = 4096;
    static constexpr std::uint16_t kNone = 0xFFFF;
    static constexpr std::size_t kNameSize = 16;
    static constexpr const char* kDefaultName = "Unnamed Entity";

    using Name = std::array<char, kNameSize>;
    // Entity index -> slot and slot -> entity index, plus the slots; also the
    // staging area of a load.
    struct Tables {
        Tables();
        std::array<std::uint16_t, kTableSize> nameIndices;
        std::array<std::uint16_t, kTableSize> ownerIndices;
        std::vector<Name> names;
    };

    static EntityNameCompManager& GetInstance();

    // The first 15 bytes of text, zero-filled. A cut never splits a UTF-8
    // character: the scene writer refuses a string that ends halfway through
    // one, which would lose the whole save.
    static Name MakeName(std::string_view text);

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    // The number of named entities.
    std::uint64_t Count() const override { return mTables.names.size(); }
    void Save(nlohmann::json& document) override;
    // A section that fails any check leaves the names as they were and
    // raises an error that says what was wrong.
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;
    void SwapWithAside() override { std::swap(mTables, mAside); }

    // Names the entity (null: "Unnamed Entity") unless it has a name already,
    // which is then kept. The null handle gets nothing and null comes back.
    EntityHandle AddComponent(EntityHandle entity, const char* name = nullptr);
    // "" for an entity without a name. Valid until a name is added or removed.
    const char* GetName(EntityHandle entity) const;
    // Keeps the first 15 characters; nothing for an entity without a name.
    void SetName(EntityHandle entity, const char* name);
    // Exact match over at most 16 bytes: 16 or more characters match nothing.
    std::vector<EntityHandle> FindEntitiesByName(const char* name) const;
    // An empty prefix gives every named entity.
    std::vector<EntityHandle> FindEntitiesByNamePrefix(const char* prefix) const;

private:
    EntityNameCompManager() = default;

    template <class Match>
    std::vector<EntityHandle> FindEntities(Match match) const;

    Tables mTables;
    // The scene kept aside during a scene load.
    Tables mAside;
};

// Names an entity, adding its name component first when it has none.
void SetEntityName(EntityHandle entity, const char* name);

} // namespace Engine
