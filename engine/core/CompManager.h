#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/EntityManager.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

namespace Engine {

// Base of every component manager. Each manager joins one global list when it
// is built and leaves it when destroyed; that list, in construction order, is
// the order of per-entity removal, clearing, scene save and load.
//
// Scene file: one JSON object written with 4-space indentation, keys in
// ascending order: "EntityMgr" (see EntityManager.h) and each listed manager's
// own members.
class ICompManager {
public:
    ICompManager();
    virtual ~ICompManager();
    ICompManager(const ICompManager&) = delete;
    ICompManager& operator=(const ICompManager&) = delete;

    // Calls RemoveComponent for each handle in array order.
    virtual void RemoveComponents(const EntityHandle* handles, std::uint64_t count);
    // Removing a component the entity does not have does nothing.
    virtual void RemoveComponent(EntityHandle entity) = 0;
    virtual bool HasComponent(EntityHandle entity) const = 0;
    // Removes every component.
    virtual void Clear() = 0;
    virtual std::uint64_t Count() const = 0;
    virtual void Update() {}
    virtual void Reserved() {}
    // Adds this manager's members to the scene document / reads them back.
    virtual void Save(nlohmann::json& document) {}
    virtual void Load(const nlohmann::json& document) {}
    // The same for one entity, inside an archetype entry.
    virtual void SaveEntity(nlohmann::json& value, EntityHandle entity) {}
    virtual void LoadEntity(const nlohmann::json& value, EntityHandle entity) {}

    // The entity when this manager has a component for it, else null.
    EntityHandle FilterHandle(EntityHandle entity) const { return GetComp(*this, entity); }

    // Every live manager, in construction order.
    static const std::vector<ICompManager*>& GetManagers();
    // Calls action on each manager listed when the walk begins: one built
    // during the walk (inside another's Load, say) joins the list's end
    // without being visited.
    template <class Action>
    static void ForEachManager(Action&& action)
    {
        const auto& managers = GetManagers();
        const std::size_t listed = managers.size();
        for (std::size_t i = 0; i < listed && i < managers.size(); ++i)
            action(*managers[i]);
    }
    static void ClearAll();
    // Writes the scene file; a path that cannot be opened writes nothing.
    // False when the file could not be opened or not be written whole.
    static bool SaveAll(const char* path);
    // Reads the scene file. The whole file is parsed before anything is
    // cleared: a file that cannot be opened or parsed changes nothing (a parse
    // error is printed on the console). A manager refusing its section puts
    // the previous scene back and its error reaches the caller.
    static void LoadAll(const char* path);
    // Replaces the scene by a parsed scene document: every manager cleared,
    // then the entity manager and each manager read it. No rollback.
    static void LoadDocument(const nlohmann::json& document);
    static EntityHandle GetComp(const ICompManager& manager, EntityHandle entity);
};

// What a scene load replaces, kept so that a load failing part-way can put
// the previous scene back instead of leaving half of each. Taking it saves
// every listed manager in memory, so it costs one scene save.
class SceneRollback {
public:
    SceneRollback();
    SceneRollback(const SceneRollback&) = delete;
    SceneRollback& operator=(const SceneRollback&) = delete;

    // Clears every manager and reloads what they held when this was taken.
    void Restore() const;

    // Runs change; when it throws, the scene as it was before is put back
    // and the error goes on.
    template <class Change>
    static void RestoreOnFailure(Change&& change)
    {
        const SceneRollback rollback;
        try {
            change();
        } catch (...) {
            rollback.Restore();
            throw;
        }
    }

private:
    EntityMgr::Snapshot mEntities;
    nlohmann::json mManagers;
};

} // namespace Engine
