#pragma once
#include "engine/core/CompManager.h"
#include "engine/core/PoolStlAllocator.h"
#include "engine/logic/LogicComp.h"

#include <memory>
#include <vector>

namespace Engine {

// Owns every logic component, keyed by entity: creates them (in code, or by
// type name from a scene or archetype), initialises them according to the
// scene state, updates them once a frame, shuts them down and deletes them.
//
// Scene form, one member of the scene object (an empty manager writes null):
//   "LogicComps": [ {"handle": entity index 1..4095,
//                    "obj_comps": [ {"type": type name, "value": properties}, ... ]
//                                  or null for an emptied entity}, ... ]
// Per-entity form (archetypes), one member of the entity's object:
//   "LogicComps": [ {"type": type name, "value": properties}, ... ]
// Entries come in ascending entity index, components in the order attached.
// On reading, an element whose "handle" is not an entity index and a
// component whose "type" the factory does not know are skipped with a
// message; a missing key or a value of the wrong JSON type raises the JSON
// library's error, and what was attached before it stays.
class LogicManager : public ICompManager {
public:
    using CompList = std::vector<LogicComp*>;
    using CompMap = PoolMap<EntityHandle, CompList>;

    static LogicManager& GetInstance();

    // Shuts down and deletes the entity's components, first to last; the
    // entry stays, emptied, and an entity that reuses the index reaches it.
    void RemoveComponent(EntityHandle entity) override;
    // True for an entity with an entry, even an emptied one.
    bool HasComponent(EntityHandle entity) const override;
    // Per entity in ascending index, components last to first: Shutdown,
    // delete. Then no entry is left.
    void Clear() override;
    // Entities with an entry, not components.
    std::uint64_t Count() const override { return mComponents.size(); }
    void Update() override;
    void Save(nlohmann::json& document) override;
    // Reads "LogicComps", then initialises as InitializeLogicComponents
    // does; within a scene load that waits for SceneLoaded.
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    // Attaches without initialising: the caller decides when. The null
    // handle gets nothing.
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;
    void SwapWithAside() override;
    // A scene load initialises its components (under the same rule as
    // Load) only here, once the previous scene has been shut down.
    void SceneLoaded() override;

    // A new T for the entity; initialised at once while the scene is Active,
    // otherwise left for InitializeLogicComponents. Returns the entity; the
    // null handle gets nothing and comes back.
    template <class T>
    EntityHandle AddComponent(EntityHandle entity)
    {
        if (entity.IsNull())
            return EntityHandle();
        Attach(entity, std::make_unique<T>());
        return entity;
    }

    // Initialises every component held, only while the scene is Idle.
    void InitializeLogicComponents();

    // The entity's components, or null when it has no entry.
    const CompList* FindComponents(EntityHandle entity) const;

    // The first of the entity's components that is a T, else null.
    template <class T>
    static T* GetCompPtr(EntityHandle entity)
    {
        const CompList* list = GetInstance().FindComponents(entity);
        if (!list)
            return nullptr;
        for (LogicComp* component : *list) {
            if (T* match = dynamic_cast<T*>(component))
                return match;
        }
        return nullptr;
    }

    // The entity when one of its components is a T, else the null handle.
    template <class T>
    static EntityHandle GetComp(EntityHandle entity)
    {
        return GetCompPtr<T>(entity) ? entity : EntityHandle();
    }

    // Shuts down and deletes the entity's first T; the others keep their
    // order. Throws InvalidMapKey for an entity without an entry.
    template <class T>
    void RemoveFirst(EntityHandle entity)
    {
        RemoveFirstWhere(entity, [](const LogicComp* component) { return dynamic_cast<const T*>(component) != nullptr; });
    }

private:
    LogicManager() = default;
    ~LogicManager() override = default;

    void Attach(EntityHandle entity, std::unique_ptr<LogicComp> component);
    void RemoveFirstWhere(EntityHandle entity, bool (*matches)(const LogicComp*));
    // Components of one element of a saved "obj_comps" or per-entity list.
    void LoadComponents(const nlohmann::json& components, EntityHandle entity);
    void InitializeAll();
    // Where a walk stands: the entity whose turn it is, the position in its
    // list to call next, and how many of the components the list held when
    // the turn began are still in it (kWholeList: every component, however
    // many come). A removal from that entity's list while the walk is under
    // way moves both, so the component after a removed one is still called
    // in its turn, and one removed before its turn is not.
    struct WalkPoint {
        static constexpr std::size_t kWholeList = ~std::size_t{0};
        EntityHandle entity;
        std::size_t next = 0;
        std::size_t held = 0;

        void Removed(EntityHandle from, std::size_t position);
    };
    // A walk under way: its place on the manager's stack of walks while it
    // runs (a component's call may start another walk on top of it).
    class ActiveWalk {
    public:
        explicit ActiveWalk(LogicManager& manager);
        ~ActiveWalk();
        ActiveWalk(const ActiveWalk&) = delete;
        ActiveWalk& operator=(const ActiveWalk&) = delete;

        // Looked up afresh each time: a walk on top may have moved the stack.
        WalkPoint& At() const { return mManager.mWalks[mDepth]; }

    private:
        LogicManager& mManager;
        std::size_t mDepth;
    };
    void WalkComponents(void (LogicComp::*operation)(), bool onlyThoseHeldAtTheirTurn,
                        const WalkPoint* resume = nullptr);
    void BuildUpdateOrder();
    // Takes the component at `position` out of the entity's list, and tells
    // every walk under way.
    LogicComp* Detach(CompList& list, std::size_t position, EntityHandle entity);
    void Changed() { ++mChanges; }

    CompMap mComponents;
    // Counts dropped entries, so a walk knows when its position is stale.
    std::uint64_t mErasures = 0;
    // Counts every attach, removal, clear and swap: while it holds still,
    // the order below is what a walk of the map would meet.
    std::uint64_t mChanges = 0;
    // The Update walk laid out flat, as the map held it when last built:
    // thousands of components are updated every frame, and chasing the
    // map's nodes and each entity's list to reach them missed the cache
    // at every step.
    struct UpdateStep {
        LogicComp* component;
        EntityHandle entity;
        std::uint32_t position; // in the entity's list
        std::uint32_t held;     // the list's length
    };
    std::vector<UpdateStep> mUpdateOrder;
    std::uint64_t mUpdateOrderBuiltAt = ~std::uint64_t{0};
    // Where each walk of the map under way stands, the innermost last.
    std::vector<WalkPoint> mWalks;
    // The flat walk writes nothing down per component: the removals made
    // while it calls one are kept here, in order, and replayed on its place
    // when it hands over to the walk of the map.
    struct Removal {
        EntityHandle entity;
        std::size_t position;
    };
    std::vector<Removal> mFlatWalkRemovals;
    bool mFlatWalkUnderWay = false;
    // The scene kept aside during a scene load.
    CompMap mAside;
};

template <class T>
EntityHandle GetLogicComp(EntityHandle entity)
{
    return LogicManager::GetComp<T>(entity);
}

// True when the handle is not null and the entity holds at least one
// logic component.
bool HasLogicComponents(EntityHandle entity);

} // namespace Engine
