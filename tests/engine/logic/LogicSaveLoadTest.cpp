#include "LogicFixture.h"
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Engine::EntityHandle;
using Engine::LogicManager;
using LogicTest::Gauge;
using LogicTest::Probe;
using nlohmann::json;

class LogicSaveLoad : public LogicFixture {
protected:
    void SetUp() override
    {
        LogicFixture::SetUp();
        LogicTest::RegisterTestTypes();
    }
    static json Saved()
    {
        json scene = json::object();
        Logic().Save(scene);
        return scene;
    }
    // Loads and returns what the manager said.
    static std::string Load(const json& scene)
    {
        return StderrOf([&scene] { Logic().Load(scene); });
    }
};

TEST_F(LogicSaveLoad, ComponentsComeBackAsTheirOwnClassWithTheirValues)
{
    const EntityHandle low(4), high(9);
    Probe* probe = Add<Probe>(high, "ball");
    probe->level.value = 7;
    Gauge* gauge = Add<Gauge>(low);
    gauge->amount.value = 0.25f;
    gauge->colour.value = glm::vec3(1.0f, 2.0f, 3.0f);
    Add<LogicTest::DerivedProbe>(high, "copy");
    Add<Engine::SMComponent>(high);
    const json scene = Saved();
    EXPECT_EQ(scene["LogicComps"][0]["handle"], 4);
    EXPECT_EQ(scene["LogicComps"][1]["obj_comps"][2]["type"], "Engine::SMComponent");

    Logic().Clear();
    EXPECT_NE(Load(scene).find("[LogicManager] Initializing logic components."), std::string::npos);
    EXPECT_EQ(Saved(), scene) << "every component back as its own class with its values";
    const auto& list = *Logic().FindComponents(high);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(static_cast<Probe*>(list[0])->initialized, 1);
    EXPECT_EQ(list[2]->GetOwner(), high);

    // Loading appends to what is held, and only initialises in Idle.
    Engine::SceneManager::SetActive();
    EXPECT_NE(Load(scene).find("outside of scene idle state"), std::string::npos);
    EXPECT_EQ(Count(high), 6u);
    EXPECT_EQ(static_cast<Probe*>(Logic().FindComponents(high)->at(3))->initialized, 0);
}

TEST_F(LogicSaveLoad, EmptyManagerAndEmptiedEntitiesWriteNull)
{
    EXPECT_TRUE(Saved()["LogicComps"].is_null());
    Load(Saved());
    Load(json::object());
    EXPECT_EQ(Logic().Count(), 0u);

    Add<Probe>(EntityHandle(2));
    Logic().RemoveComponent(EntityHandle(2));
    EXPECT_EQ(Saved()["LogicComps"], json::parse(R"([{"handle": 2, "obj_comps": null}])"));
}

TEST_F(LogicSaveLoad, UnknownTypesAndBadHandlesAreSkippedWithAMessage)
{
    const json scene = json::parse(R"({"LogicComps": [
        {"handle": 3, "obj_comps": [
            {"type": "Nobody::Knows", "value": {"x": 1}},
            {"type": "LogicTest::Probe", "value": {"label": "kept"}}]},
        {"handle": 0, "obj_comps": [{"type": "LogicTest::Probe", "value": null}]},
        {"handle": 4096, "obj_comps": []},
        {"handle": -2, "obj_comps": []},
        {"handle": "7", "obj_comps": []},
        {"handle": 2.5, "obj_comps": []}]})");
    const std::string said = Load(scene);
    EXPECT_NE(said.find("\"Nobody::Knows\""), std::string::npos);
    for (const char* handle : {"0", "4096", "-2", "\"7\"", "2.5"})
        EXPECT_NE(said.find(std::string("handle ") + handle + " is not an entity index"), std::string::npos) << handle;
    EXPECT_EQ(Logic().Count(), 1u);
    ASSERT_EQ(Count(EntityHandle(3)), 1u);
    EXPECT_EQ(LogicManager::GetCompPtr<Probe>(EntityHandle(3))->label.value, "kept");
}

TEST_F(LogicSaveLoad, MalformedElementsRaiseTheJsonErrorAndKeepWhatCameBefore)
{
    const json missingValue = json::parse(R"({"LogicComps": [
        {"handle": 1, "obj_comps": [{"type": "LogicTest::Probe", "value": {"level": 1}}]},
        {"handle": 2, "obj_comps": [{"type": "LogicTest::Probe"}]}]})");
    EXPECT_THROW(Logic().Load(missingValue), json::out_of_range);
    EXPECT_EQ(Count(EntityHandle(1)), 1u);
    EXPECT_EQ(Count(EntityHandle(2)), 0u);

    const json wrongValue = json::parse(R"({"LogicComps": [
        {"handle": 6, "obj_comps": [{"type": "LogicTest::Probe", "value": {"level": "high"}}]}]})");
    EXPECT_THROW(Logic().Load(wrongValue), json::type_error);
    EXPECT_THROW(Logic().Load(json::parse(R"({"LogicComps": [{"handle": 6, "obj_comps": [{"type": 1}]}]})")),
                 json::type_error);
    EXPECT_EQ(Count(EntityHandle(6)), 0u);

    // A list written as an object would read as the list of its values.
    const json probe = {{"type", "LogicTest::Probe"}, {"value", json::object()}};
    EXPECT_THROW(Logic().Load({{"LogicComps", {{"a", {{"handle", 7}, {"obj_comps", nullptr}}}}}}), json::type_error);
    EXPECT_THROW(Logic().Load({{"LogicComps", {{{"handle", 7}, {"obj_comps", {{"a", probe}}}}}}}), json::type_error);
    EXPECT_THROW(Logic().LoadEntity({{"LogicComps", {{"a", probe}}}}, EntityHandle(7)), json::type_error);
    EXPECT_FALSE(Logic().HasComponent(EntityHandle(7)));

    json notAnArray = {{"LogicComps", 5}};
    EXPECT_THROW(Logic().Save(notAnArray), json::type_error);
}

// Index 0 is no entity: an entry for it would update every frame and save
// a "handle" that no load accepts.
TEST_F(LogicSaveLoad, TheNullHandleGetsNoComponentFromCodeOrArchetypes)
{
    Engine::SceneManager::SetActive();
    EXPECT_TRUE(Logic().AddComponent<Probe>(EntityHandle()).IsNull());
    const json archetype = {{"LogicComps", {{{"type", "LogicTest::Probe"}, {"value", json::object()}}}}};
    Logic().LoadEntity(archetype, EntityHandle());
    EXPECT_FALSE(Logic().HasComponent(EntityHandle()));
    EXPECT_EQ(Logic().Count(), 0u);
    Logic().Update();
    EXPECT_TRUE(LogicTest::Journal().empty()) << "a component was made for no entity";
    EXPECT_TRUE(Saved()["LogicComps"].is_null());
}

TEST_F(LogicSaveLoad, EntityFormRoundTripsWithoutInitialising)
{
    const EntityHandle source(11), target(12);
    Add<Probe>(source, "first")->level.value = 3;
    Add<Gauge>(source)->amount.value = 4.0f;
    json archetype = json::object();
    Logic().SaveEntity(archetype, source);
    EXPECT_EQ(archetype["LogicComps"][1]["type"], "LogicTest::Gauge");

    Logic().LoadEntity(archetype, target);
    Probe* probe = LogicManager::GetCompPtr<Probe>(target);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->initialized, 0);
    EXPECT_EQ(probe->GetOwner(), target);
    json again = json::object();
    Logic().SaveEntity(again, target);
    EXPECT_EQ(again, archetype);

    // Nothing is written for an entity without an entry, nothing read from
    // an object without the section.
    json untouched = json::object();
    Logic().SaveEntity(untouched, EntityHandle(20));
    Logic().LoadEntity(untouched, EntityHandle(20));
    EXPECT_EQ(untouched, json::object());
    EXPECT_FALSE(Logic().HasComponent(EntityHandle(20)));
}

} // namespace
