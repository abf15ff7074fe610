#include "engine/core/CompManager.h"
#include "engine/core/EntityManager.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using Engine::EntityHandle;
using Engine::EntityMgr;
using Engine::ICompManager;
using nlohmann::json;

// One integer per entity, saved under the manager's own key.
class NumberManager : public ICompManager {
public:
    explicit NumberManager(std::string key) : mKey(std::move(key)) {}

    void RemoveComponent(EntityHandle entity) override { numbers.erase(entity); }
    bool HasComponent(EntityHandle entity) const override { return numbers.count(entity) != 0; }
    void Clear() override
    {
        numbers.clear();
        ++clears;
    }
    std::uint64_t Count() const override { return numbers.size(); }
    void SwapWithAside() override { numbers.swap(aside); }
    void Save(json& document) override
    {
        for (const auto& [entity, number] : numbers)
            document[mKey].push_back({{"handle", entity}, {"value", number}});
    }
    void Load(const json& document) override
    {
        if (document.contains(mKey))
            for (const json& entry : document.at(mKey))
                numbers[entry.at("handle").get<EntityHandle>()] = entry.at("value").get<int>();
    }

    std::map<EntityHandle, int> numbers;
    std::map<EntityHandle, int> aside;
    int clears = 0;

private:
    std::string mKey;
};

// Managers that earlier tests of the process made stay ahead in the list.
TEST(ManagerList, KeepsConstructionOrderAndDropsOnlyTheDestroyedManager)
{
    std::vector<ICompManager*> expected = ICompManager::GetManagers();
    NumberManager a("a");
    auto b = std::make_unique<NumberManager>("b");
    NumberManager c("c");
    b.reset();
    expected.insert(expected.end(), {&a, &c});
    EXPECT_EQ(ICompManager::GetManagers(), expected);
}

TEST(SceneFile, SaveAndLoadRoundTripWithSortedKeys)
{
    ScopedTempDir dir;
    NumberManager zebra("Zebra");
    NumberManager alpha("Alpha");
    const EntityHandle e1 = EntityMgr::GetInstance().CreateEntity();
    const EntityHandle e2 = EntityMgr::GetInstance().CreateEntity();
    zebra.numbers[e1] = 7;
    alpha.numbers[e2] = 9;
    ICompManager::SaveAll("scene.json");

    const std::string text = ReadFileText("scene.json");
    EXPECT_LT(text.find("\"Alpha\""), text.find("\"EntityMgr\""));
    EXPECT_LT(text.find("\"EntityMgr\""), text.find("\"Zebra\""));
    EXPECT_NE(text.find("\n    \"Alpha\""), std::string::npos) << "4-space indentation";

    EntityMgr::GetInstance().DestroyAll();
    ICompManager::LoadAll("scene.json");
    EXPECT_EQ(EntityMgr::GetInstance().GetCount(), 2u);
    EXPECT_EQ(zebra.numbers, (std::map<EntityHandle, int>{{e1, 7}}));
    EXPECT_EQ(alpha.numbers, (std::map<EntityHandle, int>{{e2, 9}}));
    EXPECT_TRUE(zebra.numbers.begin()->first.IsValid());
}

TEST(SceneFile, AMalformedOrMissingFileChangesNothing)
{
    ScopedTempDir dir;
    NumberManager numbers("Numbers");
    const EntityHandle e = EntityMgr::GetInstance().CreateEntity();
    numbers.numbers[e] = 3;

    ICompManager::LoadAll("no-such-file.json");
    WriteFileText("broken.json", "{\"EntityMgr\": {\"handles\": [tru");
    const std::string message = StderrOf([] { ICompManager::LoadAll("broken.json"); });
    EXPECT_NE(message.find("broken.json"), std::string::npos);
    EXPECT_NE(message.find("parse_error"), std::string::npos);

    EXPECT_EQ(numbers.clears, 0);
    EXPECT_EQ(numbers.Count(), 1u);
    EXPECT_TRUE(e.IsValid());
}

class BrokenManager : public NumberManager {
public:
    BrokenManager() : NumberManager("Broken") {}
    void Save(json& document) override { document["Broken"] = std::string("\xff"); } // not UTF-8
};

TEST(SceneFile, ASaveThatFailsLeavesTheOldFileWhole)
{
    ScopedTempDir dir;
    WriteFileText("scene.json", "{}");
    BrokenManager broken;
    EXPECT_THROW(ICompManager::SaveAll("scene.json"), json::type_error);
    EXPECT_EQ(ReadFileText("scene.json"), "{}");
}

TEST(SceneFile, AWriteThatRunsOutOfSpaceIsNotASave)
{
    // Linux's /dev/full opens fine and refuses every byte, as a full disk does.
    EXPECT_FALSE(ICompManager::SaveAll("/dev/full"));
    ScopedTempDir dir;
    EXPECT_TRUE(ICompManager::SaveAll("scene.json"));
}

// Built inside another manager's Load: it joins the list but misses the walk
// under way, which must not be disturbed by the list growing.
class SpawningManager : public NumberManager {
public:
    SpawningManager() : NumberManager("Spawner") {}
    void Load(const json&) override { late = std::make_unique<NumberManager>("Numbers"); }
    std::unique_ptr<NumberManager> late;
};

TEST(SceneFile, TextAfterTheDocumentIsIgnoredAndLateManagersMissTheLoad)
{
    ScopedTempDir dir;
    const std::size_t earlier = ICompManager::GetManagers().size();
    NumberManager numbers("Numbers");
    SpawningManager spawner;
    WriteFileText("scene.json", R"({"Numbers": [{"handle": 1, "value": 4}], "EntityMgr": {"handles": [false, true]}} trailing {)");
    ICompManager::LoadAll("scene.json");
    EXPECT_EQ(numbers.Count(), 1u);
    EXPECT_TRUE(EntityMgr::GetInstance().IsInUse(1));
    ASSERT_NE(spawner.late, nullptr);
    EXPECT_EQ(ICompManager::GetManagers().size(), earlier + 3u);
    EXPECT_EQ(spawner.late->Count(), 0u);
}

} // namespace
