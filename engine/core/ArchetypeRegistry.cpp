#include "engine/core/ArchetypeRegistry.h"

#include "engine/core/CompManager.h"

namespace Engine {

ArchetypeRegistry& ArchetypeRegistry::GetInstance()
{
    static ArchetypeRegistry instance;
    return instance;
}

void ArchetypeRegistry::SaveArchetype(const std::string& name, EntityHandle entity)
{
    nlohmann::json& archetype = mArchetypes[name];
    archetype = nullptr;
    ICompManager::ForEachManager([&](ICompManager& manager) { manager.SaveEntity(archetype, entity); });
}

bool ArchetypeRegistry::LoadArchetype(const std::string& name, EntityHandle entity)
{
    if (entity.IsNull())
        return false;
    const auto found = mArchetypes.find(name);
    if (found == mArchetypes.end())
        return false;
    // A component set up by the load may save an archetype under this very
    // name and rewrite the entry while it is being read: read a copy.
    const nlohmann::json archetype = found->second;
    ICompManager::ForEachManager([&](ICompManager& manager) { manager.LoadEntity(archetype, entity); });
    return true;
}

} // namespace Engine
