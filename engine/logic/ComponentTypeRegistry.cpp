#include "engine/logic/ComponentTypeRegistry.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"

namespace {

using Engine::EntityHandle;

// The camera and HUD managers answer with a handle record, the others with
// the entity itself.
EntityHandle EntityOf(EntityHandle entity) { return entity; }
template <class Handle>
EntityHandle EntityOf(const Handle& handle)
{
    return handle.entity;
}

// The record of a data-component type: every accessor goes to its manager.
template <class Manager>
ComponentTypeRecord ManagerRecord(const char* name, std::uint32_t kind)
{
    ComponentTypeRecord record;
    record.name = name;
    record.add = [](EntityHandle entity) { return EntityOf(Manager::GetInstance().AddComponent(entity)); };
    record.remove = [](EntityHandle entity) { Manager::GetInstance().RemoveComponent(entity); };
    record.clearAll = [] { Manager::GetInstance().Clear(); };
    record.has = [](EntityHandle entity) { return Manager::GetInstance().HasComponent(entity); };
    record.reserved = [](EntityHandle) { Manager::GetInstance().Reserved(); };
    record.kind = kind;
    return record;
}

} // namespace

ComponentTypeRegistry& ComponentTypeRegistry::GetInstance()
{
    static ComponentTypeRegistry registry;
    return registry;
}

bool ComponentTypeRegistry::Find(ComponentTypeId id)
{
    if (mState.cache && mState.cache->first == id)
        return true;
    ++mState.searches;
    const auto found = mState.records.find(id);
    mState.cache = found == mState.records.end() ? nullptr : &*found;
    return mState.cache != nullptr;
}

void ComponentTypeRegistry::Insert(ComponentTypeId id, const ComponentTypeRecord& record)
{
    mState.records.try_emplace(id, record);
}

void ComponentTypeRegistry::Register(ComponentTypeId id, const ComponentTypeRecord& record)
{
    if (!Find(id))
        Insert(id, record);
}

const ComponentTypeRecord* ComponentTypeRegistry::Get(ComponentTypeId id) const
{
    const auto found = mState.records.find(id);
    return found == mState.records.end() ? nullptr : &found->second;
}

void ComponentTypeRegistry::Reset() { mState = State{}; }

void ComponentTypeRegistry::RegisterEngineTypes()
{
    using namespace Engine;
    Register(ComponentTypeIdOf<TransformComp>(), ManagerRecord<TransformCompManager>("Engine::TransformComp", 1));
    Register(ComponentTypeIdOf<EntityNameComp>(), ManagerRecord<EntityNameCompManager>("Engine::EntityNameComp", 2));
    Register(ComponentTypeIdOf<CameraHandle>(), ManagerRecord<CameraManager>("Engine::CameraHandle", 0));
    Register(ComponentTypeIdOf<HUDCompHandle>(), ManagerRecord<HUDCompManager>("Engine::HUDCompHandle", 0));
}
