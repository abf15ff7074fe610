#include "SceneTestScene.h"

#include "engine/core/CompManager.h"
#include "engine/core/SceneManager.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "support/ThrownText.h"

#include <functional>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using Engine::EntityHandle;
using Engine::ICompManager;
using nlohmann::json;
using testing::HasSubstr;
using namespace SceneTest;

struct Corruption {
    const char* what;
    std::function<void(json& section)> apply;
    const char* reported; // words the error text must hold
};

json SaveOf(ICompManager& manager)
{
    json document = json::object();
    manager.Save(document);
    return document;
}

json WholeScene()
{
    json scene = json::object();
    Engine::EntityMgr::GetInstance().Save(scene);
    for (ICompManager* manager : ICompManager::GetManagers())
        manager->Save(scene);
    return scene;
}

// Saves the 50-entity scene, then builds a different, smaller live scene that
// every failed load must leave exactly as it is. Each corruption of the saved
// section must be refused by the manager with the words reported, and again
// when requested as a scene load, which reports it and never throws.
void ExpectRefused(ICompManager& manager, const char* section, const std::vector<Corruption>& corruptions)
{
    BuildManagers();
    BuildScene();
    const json good = WholeScene();
    Engine::SceneManager::DestroySceneImmediately();
    Scene small;
    for (int i = 0; i < 3; ++i)
        BuildEntity(small, i - 1, i);

    ScopedTempDir dir;
    const json managerBefore = SaveOf(manager);
    const json sceneBefore = WholeScene();
    for (const Corruption& corruption : corruptions) {
        SCOPED_TRACE(corruption.what);
        json bad = good;
        corruption.apply(bad[section]);
        EXPECT_THAT(ThrownText<std::exception>([&] { manager.Load(bad); }), HasSubstr(corruption.reported));
        EXPECT_EQ(SaveOf(manager), managerBefore) << "the manager changed";

        WriteFileText("bad.json", bad.dump());
        Engine::SceneManager::RequestLoad("bad.json");
        const std::string log = StderrOf([] { EXPECT_NO_THROW(Engine::SceneManager::ProcessRequests()); });
        EXPECT_THAT(log, HasSubstr("[SceneManager] Loading scene \"bad.json\" failed: "));
        EXPECT_THAT(log, HasSubstr(corruption.reported));
        EXPECT_EQ(WholeScene(), sceneBefore) << "the scene changed";
    }
}

// Data index of an entity in the saved transform section.
std::size_t EntryOf(const json& section, std::uint32_t entity)
{
    const json& owners = section.at("data_index_owners");
    return static_cast<std::size_t>(std::find(owners.begin(), owners.end(), entity) - owners.begin());
}

TEST(CorruptScene, TransformSectionsThatDoNotHoldTogetherAreRefused)
{
    // Entities 1 (root) -> 2 (arm) -> 3 and 4 (leaves); 5 is the second arm.
    ExpectRefused(
        Engine::TransformCompManager::GetInstance(), "TransformCompMgr",
        {
            {"truncated array", [](json& s) { s["parents"].erase(49); }, "\"parents\" has 49 entries, expected 50"},
            {"missing array", [](json& s) { s.erase("ups"); }, "key 'ups' not found"},
            {"array of the wrong type", [](json& s) { s["positions"] = "oops"; }, "type must be array, but is string"},
            {"section of the wrong type", [](json& s) { s = 5; }, "expected an object"},
            {"vector of the wrong type", [](json& s) { s["positions"][3]["x"] = "a"; }, "be number, but is string"},
            {"vector missing a member", [](json& s) { s["scales"][7].erase("z"); }, "key 'z' not found"},
            {"float out of range", [](json& s) { s["scales"][7]["y"] = 1e300; }, "does not fit in float"},
            {"map entry not a pair", [](json& s) { s["entity_index_map"][2] = 17; }, "is not an [entity, data index]"},
            {"data index out of range", [](json& s) { s["entity_index_map"][0][1] = 999; }, "which it does not own"},
            {"entity index out of range", [](json& s) { s["data_index_owners"][4] = 5000; }, "is past 4095"},
            {"null owner", [](json& s) { s["data_index_owners"][4] = 0; }, "is the null entity"},
            {"two entries of one owner", [](json& s) { s["data_index_owners"][1] = s["data_index_owners"][0]; },
             "owns more than one entry"},
            {"parent link to a missing entity", [](json& s) { s["parents"][EntryOf(s, 3)] = 4000; },
             "links to entity 4000, which has no entry"},
            {"sibling link to a missing entity", [](json& s) { s["next_sibling"][EntryOf(s, 4)] = 77; },
             "links to entity 77"},
            {"previous sibling that disagrees", [](json& s) { s["prev_sibling"][EntryOf(s, 4)] = 0; },
             "previous sibling disagrees"},
            {"parent that does not list its child", [](json& s) { s["first_children"][EntryOf(s, 2)] = 4; },
             "parent or previous sibling disagrees"},
            {"root with a sibling", [](json& s) { s["next_sibling"][EntryOf(s, 1)] = 12; }, "has siblings"},
            {"child list that loops", [](json& s) { s["next_sibling"][EntryOf(s, 4)] = 3; }, "meets entity 3 twice"},
            {"root 1 under its own grandchild 3",
             [](json& s) {
                 s["parents"][EntryOf(s, 1)] = 3;
                 s["first_children"][EntryOf(s, 3)] = 1;
             },
             "is its own ancestor"},
        });
}

TEST(CorruptScene, NameSectionsThatDoNotHoldTogetherAreRefused)
{
    ExpectRefused(
        Engine::EntityNameCompManager::GetInstance(), "EntityNameComps",
        {
            {"names cut short", [](json& s) { s["names"].erase(s["names"].size() - 1); }, "is slot"},
            {"slot out of range", [](json& s) { s["name_indices"][2] = 60; }, "is slot 60 of"},
            {"two owners of one slot", [](json& s) { s["name_indices"][2] = s["name_indices"][1]; },
             "which belongs to entity 1"},
            {"slot whose owner disowns it", [](json& s) { s["owner_indices"][0] = 4095; },
             "entity 1 names slot 0, which belongs to entity 4095"},
            {"slot nobody names", [](json& s) { s["name_indices"][1] = 65535; },
             "slot 0 names owner 1, which does not name that slot"},
            {"index past 16 bits", [](json& s) { s["name_indices"][5] = 70000; },
             "does not fit in u16 (EntityNameComps \"name_indices\"[5])"},
            {"name of the wrong type", [](json& s) { s["names"][0] = 5; }, "type must be string, but is number"},
            {"names of the wrong type", [](json& s) { s["names"] = json::object(); }, "must be array, but is object"},
            {"a name for the null entity", [](json& s) { s["name_indices"][0] = 0; }, "the null entity"},
        });
}

TEST(CorruptScene, TagSectionsThatDoNotHoldTogetherAreRefused)
{
    // Entity 1 has an empty list, entity 2 two tags.
    ExpectRefused(
        Engine::EntityTagCompManager::GetInstance(), "EntityTagMgr",
        {
            {"slot out of range", [](json& s) { s["tag_indices"][2] = 200; }, "is slot 200 of"},
            {"two owners of one slot", [](json& s) { s["tag_indices"][2] = s["tag_indices"][1]; },
             "which belongs to entity 1"},
            {"lists cut short", [](json& s) { s["tag_vecs"].erase(s["tag_vecs"].size() - 1); }, "is slot"},
            {"list without tags", [](json& s) { s["tag_vecs"][0] = {{"tag", {"Root"}}}; }, "key 'tags' not found"},
            {"list of the wrong type", [](json& s) { s["tag_vecs"][0] = 3; }, "cannot use operator[]"},
            {"tags of the wrong type", [](json& s) { s["tag_vecs"][0]["tags"] = "Root"; }, "be array, but is string"},
            {"tag of the wrong type", [](json& s) { s["tag_vecs"][1]["tags"][0] = 7; }, "be string, but is number"},
            {"lists of the wrong type", [](json& s) { s["tag_vecs"] = true; }, "type must be array, but is boolean"},
        });
}

TEST(CorruptScene, ArchetypeEntriesOfTheWrongShapeChangeNothing)
{
    BuildManagers();
    const EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    const std::pair<json, ICompManager*> bad[] = {
        {{{"Transform", {{"pos", {{"x", 1}, {"y", 2}}}}}}, &Engine::TransformCompManager::GetInstance()},
        {{{"Transform", "here"}}, &Engine::TransformCompManager::GetInstance()},
        {{{"Name", 12}}, &Engine::EntityNameCompManager::GetInstance()},
        {{{"Tags", {"Ball", 3}}}, &Engine::EntityTagCompManager::GetInstance()},
        {{{"Tags", "Ball"}}, &Engine::EntityTagCompManager::GetInstance()},
    };
    for (const auto& [value, manager] : bad) {
        SCOPED_TRACE(value.dump());
        EXPECT_ANY_THROW(manager->LoadEntity(value, entity));
        EXPECT_FALSE(manager->HasComponent(entity));
    }
}

} // namespace
