#include "SceneTestScene.h"

#include "engine/core/ArchetypeRegistry.h"
#include "engine/core/SceneManager.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Engine::EntityHandle;
using Engine::EntityMgr;
using Engine::SceneManager;
using namespace SceneTest;

// A save leaves no temporary of its own beside the file, whatever its name.
std::ptrdiff_t FilesHere()
{
    return std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator());
}

TEST(SceneRoundTrip, SceneManagerRequestsSaveThenLoadInOneFrame)
{
    ScopedTempDir dir;
    BuildManagers();
    const Look before = LookAt(BuildScene().entities);
    SceneManager::RequestSave("scene.json");
    SceneManager::RequestLoad("scene.json");
    const std::string log = StderrOf([] { SceneManager::ProcessRequests(); });
    EXPECT_NE(log.find("[SceneManager] Saving scene to \"scene.json\".\n"), std::string::npos);
    EXPECT_LT(log.find("Saving scene"), log.find("[SceneManager] Immediate scene destruction.\n"));
    EXPECT_NE(log.find("[SceneManager] Loading scene \"scene.json\".\n"), std::string::npos);
    EXPECT_EQ(FilesHere(), 1) << "scene.json alone";
    ExpectSameLook(LookAt(EntityMgr::GetInstance().GetAllHandles()), before);
    EXPECT_EQ(StderrOf([] { SceneManager::ProcessRequests(); }), "") << "served requests are gone";
}

TEST(SceneRoundTrip, ArchetypesCarryTransformNameAndTags)
{
    BuildManagers();
    const Scene scene = BuildScene();
    const Look before = LookAt(scene.entities);
    Engine::ArchetypeRegistry& registry = Engine::ArchetypeRegistry::GetInstance();
    for (std::size_t i = 0; i < scene.entities.size(); ++i)
        registry.SaveArchetype("entity" + std::to_string(i), scene.entities[i]);
    SceneManager::DestroySceneImmediately();

    // Archetypes hold no hierarchy: the copies are linked as the originals were.
    std::vector<EntityHandle> copies;
    for (std::size_t i = 0; i < scene.entities.size(); ++i) {
        copies.push_back(EntityMgr::GetInstance().CreateEntity());
        ASSERT_TRUE(registry.LoadArchetype("entity" + std::to_string(i), copies.back()));
        if (scene.parentOf[i] >= 0)
            Engine::Transform::SetParent(copies.back(), copies[static_cast<std::size_t>(scene.parentOf[i])]);
    }
    Engine::TransformCompManager::GetInstance().Update();
    for (std::size_t i = 0; i < copies.size(); ++i)
        ExpectSameLook(LookOf(copies[i]), before.at(scene.entities[i].GetIndex()), copies[i].GetIndex());
}

TEST(SceneRoundTrip, ALaterArchetypeOfANameReplacesTheFirst)
{
    BuildManagers();
    Engine::ArchetypeRegistry& registry = Engine::ArchetypeRegistry::GetInstance();
    const EntityHandle first = EntityMgr::GetInstance().CreateEntity();
    const EntityHandle second = EntityMgr::GetInstance().CreateEntity();
    Engine::EntityTagCompManager::GetInstance().AddTag(first, "Tile");
    Engine::SetEntityName(second, "Second");
    registry.SaveArchetype("Tile", first);
    registry.SaveArchetype("Tile", second);

    const EntityHandle copy = EntityMgr::GetInstance().CreateEntity();
    EXPECT_FALSE(registry.LoadArchetype("Tile", EntityHandle()));
    EXPECT_FALSE(registry.LoadArchetype("Missing", copy));
    EXPECT_FALSE(Engine::EntityNameCompManager::GetInstance().HasComponent(copy));
    EXPECT_TRUE(registry.LoadArchetype("Tile", copy));
    EXPECT_STREQ(Engine::EntityNameCompManager::GetInstance().GetName(copy), "Second");
    EXPECT_FALSE(Engine::EntityTagCompManager::GetInstance().HasTagComp(copy));
    EXPECT_FALSE(Engine::TransformCompManager::GetInstance().HasComponent(copy));
}

TEST(SceneManagerState, ChangesAreLoggedAndHeardLastListenerFirst)
{
    // The listeners below hear this test's own list only.
    SceneManager::Reset();
    std::vector<std::string> heard;
    SceneManager::AddListener([&heard](SceneManager::StateChange& change) {
        heard.push_back("first " + std::to_string(change.oldState) + std::to_string(change.newState));
    });
    SceneManager::AddListener([&heard](SceneManager::StateChange& change) {
        heard.push_back("second");
        change.handled = change.newState == SceneManager::Active;
    });
    EXPECT_EQ(StderrOf([] { SceneManager::SetIdle(); }), "");
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(StderrOf([] {
                  SceneManager::SetCreation();
                  SceneManager::SetActive();
              }),
              "[SceneManager] Changed scene state: Idle -> Creation\n"
              "[SceneManager] Changed scene state: Creation -> Active\n");
    EXPECT_EQ(heard, (std::vector<std::string>{"second", "first 01", "second"}));
    SceneManager::Reset();
}

TEST(SceneManagerFiles, UnreadableFilesKeepTheSceneAndSavesReplaceTheFileWhole)
{
    ScopedTempDir dir;
    BuildManagers();
    const Scene scene = BuildScene();
    const Look before = LookAt(scene.entities);
    WriteFileText("broken.json", "{\"EntityMgr\": [1, 2");
    const std::string log = StderrOf([] {
        EXPECT_FALSE(SceneManager::LoadScene("missing.json"));
        EXPECT_FALSE(SceneManager::LoadScene("broken.json"));
        SceneManager::RequestLoad("broken.json");
        SceneManager::ProcessRequests();
    });
    EXPECT_NE(log.find("\"missing.json\" cannot be opened; the scene is kept"), std::string::npos);
    EXPECT_NE(log.find("\"broken.json\" is not valid JSON; the scene is kept"), std::string::npos);
    EXPECT_EQ(log.find("Immediate scene destruction"), std::string::npos);
    ExpectSameLook(LookAt(scene.entities), before);

    WriteFileText("scene.json", "old");
    std::filesystem::permissions("scene.json", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(SceneManager::SaveScene("scene.json"));
    EXPECT_EQ(std::filesystem::status("scene.json").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << "a private scene file stays private";
    EXPECT_EQ(nlohmann::json::parse(ReadFileText("scene.json")).at("EntityMgr").at("handles_in_use"), 50);
    EXPECT_EQ(FilesHere(), 2) << "broken.json and scene.json alone";
    EXPECT_EQ(StderrOf([] { EXPECT_FALSE(SceneManager::SaveScene("no_such_folder/scene.json")); }), "");
    EXPECT_FALSE(std::filesystem::exists("no_such_folder"));
}

} // namespace
