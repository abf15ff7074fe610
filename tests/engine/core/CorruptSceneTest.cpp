#include "SceneTestScene.h"

#include "engine/core/CompManager.h"
#include "engine/core/SceneManager.h"
#include "support/TempDir.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using Engine::EntityHandle;
using Engine::ICompManager;
using nlohmann::json;
using namespace SceneTest;

struct Corruption {
    const char* what;
    std::function<void(json&)> apply;
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

// A good scene document, then a different, smaller live scene that every
// failed load must leave exactly as it is.
json PrepareScenes()
{
    BuildManagers();
    BuildScene();
    const json good = WholeScene();
    Engine::SceneManager::DestroySceneImmediately();

    Scene small;
    for (int i = 0; i < 3; ++i)
        BuildEntity(small, i - 1, i);
    return good;
}

void ExpectRefused(ICompManager& manager, const json& good, const std::vector<Corruption>& corruptions)
{
    const json before = SaveOf(manager);
    for (const Corruption& corruption : corruptions) {
        SCOPED_TRACE(corruption.what);
        json bad = good;
        corruption.apply(bad);
        try {
            manager.Load(bad);
            ADD_FAILURE() << "loaded without complaint";
        } catch (const std::exception& error) {
            EXPECT_NE(std::string(error.what()).find(corruption.reported), std::string::npos) << error.what();
        }
        EXPECT_EQ(SaveOf(manager), before) << "the manager changed";
    }

    // The same files requested as scene loads are reported, never thrown, and
    // leave the whole scene as it was.
    ScopedTempDir dir;
    const json sceneBefore = WholeScene();
    for (const Corruption& corruption : corruptions) {
        SCOPED_TRACE(corruption.what);
        json bad = good;
        corruption.apply(bad);
        std::ofstream("bad.json") << bad.dump();
        Engine::SceneManager::RequestLoad("bad.json");
        testing::internal::CaptureStderr();
        EXPECT_NO_THROW(Engine::SceneManager::ProcessRequests());
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("[SceneManager] Loading scene \"bad.json\" failed: "), std::string::npos) << log;
        EXPECT_NE(log.find(corruption.reported), std::string::npos) << log;
        EXPECT_EQ(WholeScene(), sceneBefore) << "the scene changed";
    }
}

json& Transforms(json& document) { return document["TransformCompMgr"]; }

// Data index of an entity in the saved transform section.
std::size_t EntryOf(json& document, std::uint32_t entity)
{
    const json& owners = Transforms(document)["data_index_owners"];
    for (std::size_t i = 0; i < owners.size(); ++i)
        if (owners[i] == entity)
            return i;
    throw std::logic_error("no such entity in the scene");
}

TEST(CorruptScene, TransformSectionsThatDoNotHoldTogetherAreRefused)
{
    const json good = PrepareScenes();
    // Entities 1 (root) -> 2 (arm) -> 3 and 4 (leaves); 5 is the second arm.
    ExpectRefused(
        Engine::TransformCompManager::GetInstance(), good,
        {
            {"truncated array", [](json& d) { Transforms(d)["parents"].erase(49); }, "\"parents\" has 49 entries, expected 50"},
            {"missing array", [](json& d) { Transforms(d).erase("ups"); }, "key 'ups' not found"},
            {"array of the wrong type", [](json& d) { Transforms(d)["positions"] = "oops"; },
             "type must be array, but is string"},
            {"section of the wrong type", [](json& d) { Transforms(d) = 5; }, "expected an object"},
            {"vector of the wrong type", [](json& d) { Transforms(d)["positions"][3]["x"] = "a"; },
             "type must be number, but is string"},
            {"vector missing a member", [](json& d) { Transforms(d)["scales"][7].erase("z"); }, "key 'z' not found"},
            {"float out of range", [](json& d) { Transforms(d)["scales"][7]["y"] = 1e300; }, "does not fit in float"},
            {"map entry not a pair", [](json& d) { Transforms(d)["entity_index_map"][2] = 17; },
             "is not an [entity, data index] pair"},
            {"data index out of range", [](json& d) { Transforms(d)["entity_index_map"][0][1] = 999; },
             "which it does not own"},
            {"entity index out of range", [](json& d) { Transforms(d)["data_index_owners"][4] = 5000; }, "is past 4095"},
            {"null owner", [](json& d) { Transforms(d)["data_index_owners"][4] = 0; }, "is the null entity"},
            {"two entries of one owner",
             [](json& d) { Transforms(d)["data_index_owners"][1] = Transforms(d)["data_index_owners"][0]; },
             "owns more than one entry"},
            {"parent link to a missing entity",
             [](json& d) { Transforms(d)["parents"][EntryOf(d, 3)] = 4000; }, "links to entity 4000, which has no entry"},
            {"sibling link to a missing entity",
             [](json& d) { Transforms(d)["next_sibling"][EntryOf(d, 4)] = 77; }, "links to entity 77"},
            {"previous sibling that disagrees",
             [](json& d) { Transforms(d)["prev_sibling"][EntryOf(d, 4)] = 0; }, "previous sibling disagrees"},
            {"parent that does not list its child",
             [](json& d) { Transforms(d)["first_children"][EntryOf(d, 2)] = 4; }, "parent or previous sibling disagrees"},
            {"root with a sibling", [](json& d) { Transforms(d)["next_sibling"][EntryOf(d, 1)] = 12; }, "has siblings"},
            {"child list that loops",
             [](json& d) { Transforms(d)["next_sibling"][EntryOf(d, 4)] = 3; }, "meets entity 3 twice"},
            {"parents in a loop",
             [](json& d) {
                 // Root 1 hangs under its own grandchild 3.
                 Transforms(d)["parents"][EntryOf(d, 1)] = 3;
                 Transforms(d)["first_children"][EntryOf(d, 3)] = 1;
             },
             "is its own ancestor"},
        });
}

json& Names(json& document) { return document["EntityNameComps"]; }

TEST(CorruptScene, NameSectionsThatDoNotHoldTogetherAreRefused)
{
    const json good = PrepareScenes();
    ExpectRefused(
        Engine::EntityNameCompManager::GetInstance(), good,
        {
            {"truncated table", [](json& d) { Names(d)["name_indices"].erase(4095); },
             "\"name_indices\" has 4095 entries, expected 4096"},
            {"names cut short", [](json& d) { Names(d)["names"].erase(Names(d)["names"].size() - 1); }, "is slot"},
            {"slot out of range", [](json& d) { Names(d)["name_indices"][2] = 60; }, "is slot 60 of"},
            {"two owners of one slot", [](json& d) { Names(d)["name_indices"][2] = Names(d)["name_indices"][1]; },
             "which belongs to entity 1"},
            {"slot whose owner disowns it", [](json& d) { Names(d)["owner_indices"][0] = 4095; },
             "entity 1 names slot 0, which belongs to entity 4095"},
            {"slot nobody names", [](json& d) { Names(d)["name_indices"][1] = 65535; },
             "slot 0 names owner 1, which does not name that slot"},
            {"index past 16 bits", [](json& d) { Names(d)["name_indices"][5] = 70000; }, "does not fit in u16"},
            {"name of the wrong type", [](json& d) { Names(d)["names"][0] = 5; }, "type must be string, but is number"},
            {"names of the wrong type", [](json& d) { Names(d)["names"] = json::object(); },
             "type must be array, but is object"},
            {"a name for the null entity", [](json& d) { Names(d)["name_indices"][0] = 0; }, "the null entity"},
        });
}

json& Tags(json& document) { return document["EntityTagMgr"]; }

TEST(CorruptScene, TagSectionsThatDoNotHoldTogetherAreRefused)
{
    const json good = PrepareScenes();
    // Entity 1 has an empty list, entity 2 two tags.
    ExpectRefused(
        Engine::EntityTagCompManager::GetInstance(), good,
        {
            {"truncated table", [](json& d) { Tags(d)["tag_owner_indices"].erase(12); },
             "\"tag_owner_indices\" has 4095 entries, expected 4096"},
            {"slot out of range", [](json& d) { Tags(d)["tag_indices"][2] = 200; }, "is slot 200 of"},
            {"two owners of one slot", [](json& d) { Tags(d)["tag_indices"][2] = Tags(d)["tag_indices"][1]; },
             "which belongs to entity 1"},
            {"lists cut short", [](json& d) { Tags(d)["tag_vecs"].erase(Tags(d)["tag_vecs"].size() - 1); }, "is slot"},
            {"list without tags", [](json& d) { Tags(d)["tag_vecs"][0] = {{"tag", {"Root"}}}; }, "key 'tags' not found"},
            {"list of the wrong type", [](json& d) { Tags(d)["tag_vecs"][0] = 3; }, "cannot use operator[]"},
            {"tags of the wrong type", [](json& d) { Tags(d)["tag_vecs"][0]["tags"] = "Root"; },
             "type must be array, but is string"},
            {"tag of the wrong type", [](json& d) { Tags(d)["tag_vecs"][1]["tags"][0] = 7; },
             "type must be string, but is number"},
            {"lists of the wrong type", [](json& d) { Tags(d)["tag_vecs"] = true; }, "type must be array, but is boolean"},
        });
}

TEST(CorruptScene, ArchetypeEntriesOfTheWrongShapeChangeNothing)
{
    PrepareScenes();
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
