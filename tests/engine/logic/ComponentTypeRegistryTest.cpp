#include "engine/core/EntityNameCompManager.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "LogicFixture.h"

#include <gtest/gtest.h>

namespace {

using Engine::EntityHandle;
using Engine::LogicManager;
using LogicTest::Probe;

class ComponentTypes : public LogicFixture {
protected:
    void SetUp() override
    {
        LogicFixture::SetUp();
        LogicTest::RegisterTestTypes();
    }
    static ComponentTypeRegistry& Table() { return ComponentTypeRegistry::GetInstance(); }
    template <class T>
    static const ComponentTypeRecord& RecordOf()
    {
        return *Table().Get(ComponentTypeIdOf<T>());
    }
};

TEST_F(ComponentTypes, RepeatedFindIsAnsweredFromTheOneEntryCache)
{
    const ComponentTypeId probe = ComponentTypeIdOf<Probe>();
    const std::uint64_t start = Table().GetSearchCount();
    EXPECT_TRUE(Table().Find(probe));
    EXPECT_TRUE(Table().Find(probe));
    EXPECT_EQ(Table().GetSearchCount(), start + 1);
    EXPECT_TRUE(Table().Find(ComponentTypeIdOf<LogicTest::Gauge>()));
    EXPECT_TRUE(Table().Find(probe));
    EXPECT_EQ(Table().GetSearchCount(), start + 3);
    // A miss leaves nothing cached.
    EXPECT_FALSE(Table().Find(ComponentTypeIdOf<LogicTest::QuietProbe>()));
    EXPECT_FALSE(Table().Find(ComponentTypeIdOf<LogicTest::QuietProbe>()));
    EXPECT_EQ(Table().GetSearchCount(), start + 5);
}

TEST_F(ComponentTypes, LogicAccessorsAddTestAndRemoveTheFirstMatch)
{
    const EntityHandle entity(6);
    const ComponentTypeRecord& probe = RecordOf<Probe>();
    EXPECT_FALSE(Table().Find(ComponentTypeIdOf<Engine::LogicComp>())) << "the base has no record";
    EXPECT_FALSE(probe.has(entity));
    EXPECT_THROW(probe.remove(entity), Engine::InvalidMapKey);

    Engine::SceneManager::SetActive();
    EXPECT_EQ(probe.add(entity), entity);
    EXPECT_TRUE(probe.has(entity));
    EXPECT_EQ(LogicManager::GetCompPtr<Probe>(entity)->initialized, 1);
    LogicManager::GetCompPtr<Probe>(entity)->label.value = "first";
    RecordOf<LogicTest::Gauge>().add(entity);
    RecordOf<LogicTest::DerivedProbe>().add(entity);

    // A derived component counts as a Probe; only the first one goes.
    probe.remove(entity);
    EXPECT_EQ(LogicTest::Journal().back(), "first:shutdown");
    ASSERT_EQ(Count(entity), 2u);
    EXPECT_NE(LogicManager::GetCompPtr<LogicTest::DerivedProbe>(entity), nullptr);
    RecordOf<Engine::SMComponent>().remove(entity);
    probe.reserved(EntityHandle(40)); // no Probe there: nothing to call
    EXPECT_EQ(Count(entity), 2u);

    RecordOf<Engine::SMComponent>().clearAll();
    EXPECT_EQ(Logic().Count(), 0u);
}

TEST_F(ComponentTypes, EngineTypesGoThroughTheirManagersAndRegisterOnce)
{
    const std::size_t before = Table().Count();
    Table().RegisterEngineTypes();
    Table().RegisterEngineTypes();
    EXPECT_EQ(Table().Count(), before + 4);

    const std::pair<ComponentTypeId, Engine::ICompManager*> types[] = {
        {ComponentTypeIdOf<Engine::TransformComp>(), &Engine::TransformCompManager::GetInstance()},
        {ComponentTypeIdOf<Engine::EntityNameComp>(), &Engine::EntityNameCompManager::GetInstance()},
        {ComponentTypeIdOf<Engine::CameraHandle>(), &Engine::CameraManager::GetInstance()},
        {ComponentTypeIdOf<Engine::HUDCompHandle>(), &Engine::HUDCompManager::GetInstance()},
    };
    const EntityHandle entity = NewEntity();
    for (const auto& [id, manager] : types) {
        const ComponentTypeRecord& record = *Table().Get(id);
        SCOPED_TRACE(record.name);
        EXPECT_EQ(record.add(entity), entity);
        EXPECT_TRUE(manager->HasComponent(entity));
        EXPECT_TRUE(record.has(entity));
        record.remove(entity);
        EXPECT_FALSE(manager->HasComponent(entity));
        record.add(entity);
        record.clearAll();
        EXPECT_EQ(manager->Count(), 0u);
    }
}

} // namespace
