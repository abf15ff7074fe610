#include "engine/logic/ComponentTypeRegistry.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"

namespace {

using Engine::EntityHandle;

ComponentTypeRecord TransformRecord()
{
    using Manager = Engine::TransformCompManager;
    ComponentTypeRecord record;
    record.name = "Engine::TransformComp";
    record.add = [](EntityHandle entity) { return Manager::GetInstance().AddComponent(entity); };
    record.remove = [](EntityHandle entity) { Manager::GetInstance().RemoveComponent(entity); };
    record.clearAll = [] { Manager::GetInstance().Clear(); };
    record.has = [](EntityHandle entity) { return Manager::GetInstance().HasComponent(entity); };
    record.reserved = [](EntityHandle) { Manager::GetInstance().Reserved(); };
    record.kind = 1;
    return record;
}

ComponentTypeRecord EntityNameRecord()
{
    using Manager = Engine::EntityNameCompManager;
    ComponentTypeRecord record;
    record.name = "Engine::EntityNameComp";
    record.add = [](EntityHandle entity) { return Manager::GetInstance().AddComponent(entity); };
    record.remove = [](EntityHandle entity) { Manager::GetInstance().RemoveComponent(entity); };
    record.clearAll = [] { Manager::GetInstance().Clear(); };
    record.has = [](EntityHandle entity) { return Manager::GetInstance().HasComponent(entity); };
    record.reserved = [](EntityHandle) { Manager::GetInstance().Reserved(); };
    record.kind = 2;
    return record;
}

ComponentTypeRecord CameraRecord()
{
    using Manager = Engine::CameraManager;
    ComponentTypeRecord record;
    record.name = "Engine::CameraHandle";
    record.add = [](EntityHandle entity) { return Manager::GetInstance().AddComponent(entity).entity; };
    record.remove = [](EntityHandle entity) { Manager::GetInstance().RemoveComponent(entity); };
    record.clearAll = [] { Manager::GetInstance().Clear(); };
    record.has = [](EntityHandle entity) { return Manager::GetInstance().HasComponent(entity); };
    record.reserved = [](EntityHandle) { Manager::GetInstance().Reserved(); };
    record.kind = 0;
    return record;
}

ComponentTypeRecord HudRecord()
{
    using Manager = Engine::HUDCompManager;
    ComponentTypeRecord record;
    record.name = "Engine::HUDCompHandle";
    record.add = [](EntityHandle entity) { return Manager::GetInstance().AddComponent(entity).entity; };
    record.remove = [](EntityHandle entity) { Manager::GetInstance().RemoveComponent(entity); };
    record.clearAll = [] { Manager::GetInstance().Clear(); };
    record.has = [](EntityHandle entity) { return Manager::GetInstance().HasComponent(entity); };
    record.reserved = [](EntityHandle) { Manager::GetInstance().Reserved(); };
    record.kind = 0;
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
    if (mCache != mRecords.end() && mCache->first == id)
        return true;
    ++mSearches;
    const auto found = mRecords.lower_bound(id);
    if (found != mRecords.end() && found->first == id) {
        mCache = found;
        return true;
    }
    mCache = mRecords.end();
    return false;
}

void ComponentTypeRegistry::Insert(ComponentTypeId id, const ComponentTypeRecord& record)
{
    mRecords.try_emplace(id, record);
}

void ComponentTypeRegistry::Register(ComponentTypeId id, const ComponentTypeRecord& record)
{
    if (!Find(id))
        Insert(id, record);
}

const ComponentTypeRecord* ComponentTypeRegistry::Get(ComponentTypeId id) const
{
    const auto found = mRecords.find(id);
    return found == mRecords.end() ? nullptr : &found->second;
}

void ComponentTypeRegistry::RegisterEngineTypes()
{
    Register(ComponentTypeIdOf<Engine::TransformComp>(), TransformRecord());
    Register(ComponentTypeIdOf<Engine::EntityNameComp>(), EntityNameRecord());
    Register(ComponentTypeIdOf<Engine::CameraHandle>(), CameraRecord());
    Register(ComponentTypeIdOf<Engine::HUDCompHandle>(), HudRecord());
}
