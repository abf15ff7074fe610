#pragma once
#include "engine/logic/ComponentTypeRegistry.h"
#include "engine/logic/Factory.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/TypeName.h"

#include <memory>
#include <string>
#include <type_traits>

namespace Engine {

// The name of T, computed once and kept until exit for the component-type
// table, which stores it as a plain pointer.
template <class T>
const char* StaticTypeName()
{
    static const std::string name = GetTypeName<T>();
    return name.c_str();
}

// The component-type record of a logic type: add, remove and test through
// the logic manager. Every logic type clears the whole logic manager.
template <class T>
ComponentTypeRecord MakeLogicTypeRecord()
{
    ComponentTypeRecord record;
    record.name = StaticTypeName<T>();
    record.add = [](EntityHandle entity) { return LogicManager::GetInstance().AddComponent<T>(entity); };
    // Throws InvalidMapKey for an entity without logic components.
    record.remove = [](EntityHandle entity) { LogicManager::GetInstance().RemoveFirst<T>(entity); };
    record.clearAll = [] { LogicManager::GetInstance().Clear(); };
    record.has = [](EntityHandle entity) { return !LogicManager::GetComp<T>(entity).IsNull(); };
    // An entity without a T has nothing to call.
    record.reserved = [](EntityHandle entity) {
        if (T* component = LogicManager::GetCompPtr<T>(entity))
            component->Reserved();
    };
    record.kind = 0;
    return record;
}

// One row of the game's registration callback: T becomes creatable under
// the name its RegisterType answers (the first registration of a name wins)
// and, LogicComp itself aside, enters the component-type table.
template <class T>
void RegisterLogicType()
{
    static_assert(std::is_base_of_v<LogicComp, T> && std::is_default_constructible_v<T>);
    const TypeNode* node = T::RegisterClassType();
    Factory::GetInstance().Register(node->name.c_str(), std::make_unique<TCreator<T>>());
    if constexpr (!std::is_same_v<T, LogicComp>)
        ComponentTypeRegistry::GetInstance().Register(ComponentTypeIdOf<T>(), MakeLogicTypeRecord<T>());
}

} // namespace Engine
