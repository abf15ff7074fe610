#pragma once
#include "engine/core/EntityHandle.h"

#include <cstdint>
#include <map>

namespace Engine {
// The engine's data-component types, named for the table; their managers
// keep the data (the types need not be complete to have an id).
struct TransformComp;
struct EntityNameComp;
} // namespace Engine

// Identifies a component type: the address of an object reserved for it.
using ComponentTypeId = std::uintptr_t;

template <class T>
ComponentTypeId ComponentTypeIdOf()
{
    static const char reserved = 0;
    return reinterpret_cast<ComponentTypeId>(&reserved);
}

// What code holding only a type id can do with that type's components.
struct ComponentTypeRecord {
    const char* name = nullptr; // not owned: a string kept until exit
    Engine::EntityHandle (*add)(Engine::EntityHandle entity) = nullptr;
    void (*remove)(Engine::EntityHandle entity) = nullptr;
    void (*clearAll)() = nullptr;
    bool (*has)(Engine::EntityHandle entity) = nullptr;
    void (*reserved)(Engine::EntityHandle entity) = nullptr;
    // 1 transform, 2 entity name, 0 any other type.
    std::uint32_t kind = 0;
};

// The table of component types, filled at start-up: the logic types by the
// factory's registration run, the engine's own data types by
// RegisterEngineTypes. The first record of an id stays.
class ComponentTypeRegistry {
public:
    using Records = std::map<ComponentTypeId, ComponentTypeRecord>;

    static ComponentTypeRegistry& GetInstance();

    ComponentTypeRegistry(const ComponentTypeRegistry&) = delete;
    ComponentTypeRegistry& operator=(const ComponentTypeRegistry&) = delete;

    // Whether the id is held. A repeated question for the id found last is
    // answered from a one-entry cache without searching.
    bool Find(ComponentTypeId id);
    // Inserts the record unless the id is held already.
    void Insert(ComponentTypeId id, const ComponentTypeRecord& record);
    // Inserts the record only when Find says the id is new.
    void Register(ComponentTypeId id, const ComponentTypeRecord& record);
    // Enters the engine's own data-component types.
    void RegisterEngineTypes();

    // The record of an id, or null.
    const ComponentTypeRecord* Get(ComponentTypeId id) const;
    std::size_t Count() const { return mState.records.size(); }
    // How often Find had to search the map.
    std::uint64_t GetSearchCount() const { return mState.searches; }
    // No record, nothing cached and no search counted, as a new run starts.
    void Reset();

private:
    ComponentTypeRegistry() = default;

    struct State {
        Records records;
        // The entry Find found last; records are never erased but all at
        // once, by Reset, which clears this too.
        const Records::value_type* cache = nullptr;
        std::uint64_t searches = 0;
    };
    State mState;
};
