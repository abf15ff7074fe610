#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/EntityManager.h"
#include "engine/platform/ReplaceFile.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
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

    // A scene load keeps the running scene aside, its objects untouched,
    // until the new scene has been read whole. SwapWithAside exchanges
    // everything the manager holds with what it keeps aside (nothing outside
    // a load). SetAside starts a load: the running scene goes aside and the
    // manager is left as Clear leaves it; what a load keeps unless the file
    // replaces it stays in force as well.
    virtual void SwapWithAside() = 0;
    virtual void SetAside() { SwapWithAside(); }
    // Called once a scene load has replaced the previous scene, which is
    // gone by then: for work that must not meet the old scene.
    virtual void SceneLoaded() {}

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
    // Writes the scene file in place of the old one, whole or not at all
    // (ReplaceFileContents says when another user's file is written in
    // place). False, with what became of the file in `outcome` when given,
    // when it was not written.
    static bool SaveAll(const char* path, Platform::Replacement* outcome = nullptr);
    // Reads the scene file as LoadDocument does. The whole file is parsed
    // first: a file that cannot be opened or parsed changes nothing (a parse
    // error is printed on the console).
    static void LoadAll(const char* path);
    // Replaces the scene by a parsed scene document. The running scene is
    // set aside, then the entity manager and each manager read the document.
    // A manager refusing its section drops what was read and brings the
    // previous scene back, the same objects as they were, and its error
    // reaches the caller. Otherwise the previous scene is destroyed (entities
    // freed, managers cleared) and the new one takes its place; then every
    // manager hears SceneLoaded.
    static void LoadDocument(const nlohmann::json& document);
    // True while LoadDocument has the managers read their sections.
    static bool IsReadingScene();
    static EntityHandle GetComp(const ICompManager& manager, EntityHandle entity);
};

} // namespace Engine
