#include "EngineTestHarness.h"

#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/Factory.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/TypeName.h"
#include "engine/render/LightManager.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

using Engine::EntityHandle;
using Engine::LogicManager;
using Engine::SceneManager;
using nlohmann::json;
using Strings = std::vector<std::string>;

Strings lifeJournal;

// Writes its life into the journal under its label, and counts it.
class Tally : public Engine::LogicComp {
public:
    Tally() : label("label", mPropertyMap) {}
    static Engine::TypeNode* RegisterClassType()
    {
        return Engine::TypeRegistry::RegisterUnder<Tally, Engine::LogicComp>();
    }
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override { Note("init", initialised); }
    void Shutdown() override { Note("shutdown", shutDown); }

    Engine::Property<std::string> label;
    int initialised = 0;
    int shutDown = 0;

private:
    void Note(const char* what, int& count)
    {
        ++count;
        lifeJournal.push_back(label.value + ":" + what);
    }
};

// The factory does not know it: no scene file can bring it back.
class Unlisted : public Tally {
public:
    static Engine::TypeNode* RegisterClassType()
    {
        return Engine::TypeRegistry::RegisterUnder<Unlisted, Engine::LogicComp>();
    }
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
};

struct SceneLoad : ::testing::Test {
    void SetUp() override
    {
        FrameTest::StartEngine(); // reads data/ from the build folder
        dir = std::make_unique<ScopedTempDir>();
        Engine::Factory::GetInstance().Register(Engine::GetTypeName<Tally>().c_str(),
                                                std::make_unique<Engine::TCreator<Tally>>());
        lifeJournal.clear();
    }
    // The logic manager leaves what it holds at exit to the system.
    void TearDown() override
    {
        StderrOf([] { SceneManager::DestroySceneImmediately(); });
    }

    // An entity with a transform, a name, a light and two initialised logic
    // components, in an Active scene.
    void BuildRunningScene()
    {
        SceneManager::SetCreation();
        keeper.Create();
        Engine::TransformCompManager::GetInstance().AddComponent(keeper);
        Engine::Transform::PositionRef(keeper) = {1.0f, 2.0f, 3.0f};
        Engine::SetEntityName(keeper, "Keeper");
        LogicManager& logic = LogicManager::GetInstance();
        logic.AddComponent<Tally>(keeper);
        logic.AddComponent<Unlisted>(keeper);
        tally = LogicManager::GetCompPtr<Tally>(keeper);
        unlisted = LogicManager::GetCompPtr<Unlisted>(keeper);
        tally->label.value = "old";
        unlisted->label.value = "unlisted";
        light = Engine::LightManager::GetInstance().AddComponent(keeper).light;
        light->mDiffuseColor.value = {0.5f, 0.25f, 1.0f, 1.0f};
        Engine::CollisionTable::GetInstance().AddTag("Held");
        SceneManager::SetIdle();
        StderrOf([&logic] { logic.InitializeLogicComponents(); });
        SceneManager::SetActive();
        lifeJournal.clear();
    }

    static json SavedScene()
    {
        EXPECT_TRUE(SceneManager::SaveScene("scene.json"));
        return json::parse(ReadFileText("scene.json"));
    }

    std::unique_ptr<ScopedTempDir> dir;
    EntityHandle keeper;
    Tally* tally = nullptr;
    Tally* unlisted = nullptr;
    Engine::Light* light = nullptr;
};

TEST_F(SceneLoad, AFailedLoadLeavesTheRunningSceneWholeAndAsItWas)
{
    BuildRunningScene();
    const std::uint64_t entries = LogicManager::GetInstance().Count();
    const std::uint32_t entities = Engine::EntityMgr::GetInstance().GetCount();

    // The logic section breaks after the keeper's components were read; the
    // collision table, read before it, names other tags.
    json file = SavedScene();
    file["LogicComps"].push_back({{"handle", 4000}});
    file["CollisionTable"] = {{"tags", {{{"tag_name", "Other"}, {"tag_value", 0}}}}, {"pairs", json::array()}};
    WriteFileText("broken.json", file.dump());
    StderrOf([] { EXPECT_ANY_THROW(SceneManager::LoadScene("broken.json")); });

    // The same objects, initialised once and never shut down.
    EXPECT_EQ(LogicManager::GetCompPtr<Tally>(keeper), tally);
    EXPECT_EQ(LogicManager::GetCompPtr<Unlisted>(keeper), unlisted);
    EXPECT_EQ(LogicManager::GetInstance().FindComponents(keeper)->size(), 2u);
    EXPECT_EQ(tally->initialised + unlisted->initialised, 2);
    EXPECT_EQ(tally->shutDown + unlisted->shutDown, 0);
    EXPECT_EQ(LogicManager::GetInstance().Count(), entries);
    EXPECT_EQ(Engine::LightManager::GetInstance().GetCompPtr(keeper), light);
    EXPECT_EQ(light->mDiffuseColor.value, glm::vec4(0.5f, 0.25f, 1.0f, 1.0f));
    EXPECT_TRUE(keeper.IsValid());
    EXPECT_EQ(Engine::EntityMgr::GetInstance().GetCount(), entities);
    EXPECT_STREQ(Engine::EntityNameCompManager::GetInstance().GetName(keeper), "Keeper");
    EXPECT_EQ(Engine::Transform::GetWorldPosition(keeper), glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(SceneManager::GetState(), SceneManager::Active);
    EXPECT_TRUE(Engine::CollisionTable::GetInstance().HasTag("Held"));
    EXPECT_FALSE(Engine::CollisionTable::GetInstance().HasTag("Other"));
    // The half-read scene's components went without ever starting.
    EXPECT_EQ(lifeJournal, (Strings{"old:shutdown"}));

    // Later frames carry on with the scene that was kept.
    Engine::Core::GetInstance().Update();
    EXPECT_TRUE(keeper.IsValid());
}

TEST_F(SceneLoad, ALoadThatSucceedsShutsTheOldSceneDownBeforeTheNewOneStarts)
{
    BuildRunningScene();
    json file = SavedScene();
    file.erase("CollisionTable"); // the table in force stays
    for (json& element : file["LogicComps"])
        for (json& component : element["obj_comps"])
            component["value"]["label"] = "new";
    WriteFileText("next.json", file.dump());
    SceneManager::SetIdle();
    StderrOf([] { EXPECT_TRUE(SceneManager::LoadScene("next.json")); });

    EXPECT_EQ(lifeJournal, (Strings{"unlisted:shutdown", "old:shutdown", "new:init"}));
    const Tally* loaded = LogicManager::GetCompPtr<Tally>(keeper);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->label.value, "new");
    EXPECT_EQ(LogicManager::GetCompPtr<Unlisted>(keeper), nullptr);
    EXPECT_STREQ(Engine::EntityNameCompManager::GetInstance().GetName(keeper), "Keeper");
    EXPECT_FALSE(Engine::LightManager::GetInstance().HasComponent(keeper)) << "lights are not kept in scene files";
    EXPECT_TRUE(Engine::CollisionTable::GetInstance().HasTag("Held"));
}

} // namespace
