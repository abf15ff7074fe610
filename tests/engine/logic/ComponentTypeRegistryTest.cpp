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
    const ComponentTypeRecord& transform = RecordOf<Engine::TransformComp>();
    const ComponentTypeRecord& name = RecordOf<Engine::EntityNameComp>();
    EXPECT_STREQ(transform.name, "Engine::TransformComp");
    EXPECT_EQ(transform.kind, 1u);
    EXPECT_STREQ(name.name, "Engine::EntityNameComp");
    EXPECT_EQ(name.kind, 2u);

    const EntityHandle entity = NewEntity();
    transform.add(entity);
    name.add(entity);
    EXPECT_TRUE(transform.has(entity));
    EXPECT_STREQ(Engine::EntityNameCompManager::GetInstance().GetName(entity), "Unnamed Entity");
    name.remove(entity);
    EXPECT_FALSE(name.has(entity));
    transform.clearAll();
    EXPECT_EQ(Engine::TransformCompManager::GetInstance().Count(), 0u);

    const ComponentTypeRecord& camera = RecordOf<Engine::CameraHandle>();
    EXPECT_STREQ(camera.name, "Engine::CameraHandle");
    EXPECT_EQ(camera.kind, 0u);
    EXPECT_EQ(camera.add(entity), entity);
    EXPECT_TRUE(Engine::CameraManager::GetInstance().HasComponent(entity));
    camera.remove(entity);
    EXPECT_FALSE(camera.has(entity));

    const ComponentTypeRecord& hud = RecordOf<Engine::HUDCompHandle>();
    EXPECT_STREQ(hud.name, "Engine::HUDCompHandle");
    EXPECT_EQ(hud.kind, 0u);
    EXPECT_EQ(hud.add(entity), entity);
    EXPECT_TRUE(Engine::HUDCompManager::GetInstance().HasComponent(entity));
    hud.remove(entity);
    EXPECT_FALSE(hud.has(entity));
}

} // namespace
