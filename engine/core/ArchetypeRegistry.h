#pragma once
#include "engine/core/EntityHandle.h"

#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace Engine {

// Entity templates kept in memory: the per-entity data that every component
// manager writes for a live entity, stored under a name and copied into other
// entities later (the arena's floor tiles are built so). Never written to a
// file.
class ArchetypeRegistry {
public:
    static ArchetypeRegistry& GetInstance();

    ArchetypeRegistry(const ArchetypeRegistry&) = delete;
    ArchetypeRegistry& operator=(const ArchetypeRegistry&) = delete;

    // Replaces whatever the name held by the entity's data; the entity itself
    // is not changed.
    void SaveArchetype(const std::string& name, EntityHandle entity);
    // Gives the entity the archetype's components, each manager following
    // its own per-entity load rules. False, changing nothing, for the null
    // handle or an unknown name.
    bool LoadArchetype(const std::string& name, EntityHandle entity);

    bool Contains(const std::string& name) const { return mArchetypes.count(name) != 0; }

private:
    ArchetypeRegistry() = default;

    std::map<std::string, nlohmann::json> mArchetypes;
};

} // namespace Engine
