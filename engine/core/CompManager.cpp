// Scene file: one JSON object, 4-space indentation, keys ascending:
//   {"EntityMgr": {...}, "<manager key>": ..., ...}
// Only the first JSON value of the file is read; what follows it is ignored.
// The file is parsed whole before anything changes, and the running scene
// waits aside until every section has loaded: a section that fails brings it
// back as it was before the error goes on.
#include "engine/core/CompManager.h"

#include "engine/core/EntityManager.h"
#include "engine/platform/ReplaceFile.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

namespace Engine {
namespace {

std::vector<ICompManager*>& ManagerList()
{
    static std::vector<ICompManager*> managers;
    return managers;
}

bool gReadingScene = false;

// Marks the managers' reading of a scene, also when one of them throws.
class ReadingScene {
public:
    ReadingScene() { gReadingScene = true; }
    ~ReadingScene() { gReadingScene = false; }
    ReadingScene(const ReadingScene&) = delete;
    ReadingScene& operator=(const ReadingScene&) = delete;
};

void SwapAllWithAside()
{
    ICompManager::ForEachManager([](ICompManager& manager) { manager.SwapWithAside(); });
}

void ReadScene(const nlohmann::json& document)
{
    const ReadingScene reading;
    EntityMgr::GetInstance().Load(document);
    ICompManager::ForEachManager([&document](ICompManager& manager) { manager.Load(document); });
}

} // namespace

ICompManager::ICompManager() { ManagerList().push_back(this); }

ICompManager::~ICompManager()
{
    auto& managers = ManagerList();
    const auto found = std::find(managers.begin(), managers.end(), this);
    if (found != managers.end())
        managers.erase(found);
}

void ICompManager::RemoveComponents(const EntityHandle* handles, std::uint64_t count)
{
    for (std::uint64_t i = 0; i < count; ++i)
        RemoveComponent(handles[i]);
}

const std::vector<ICompManager*>& ICompManager::GetManagers() { return ManagerList(); }

void ICompManager::ClearAll()
{
    ForEachManager([](ICompManager& manager) { manager.Clear(); });
}

bool ICompManager::SaveAll(const char* path, Platform::Replacement* outcome)
{
    // The text is complete before the file is touched, so a manager that
    // throws leaves an existing file whole; the text then replaces the file
    // whole or not at all, also across a crash.
    nlohmann::json document = nlohmann::json::object();
    EntityMgr::GetInstance().Save(document);
    ForEachManager([&document](ICompManager& manager) { manager.Save(document); });
    const Platform::Replacement saved = Platform::ReplaceFileContents(path, document.dump(4));
    if (outcome)
        *outcome = saved;
    return saved.failure.empty();
}

void ICompManager::LoadAll(const char* path)
{
    std::ifstream file(path);
    if (!file)
        return;
    nlohmann::json document;
    try {
        // One value from the start; text after it is not examined.
        file >> document;
    } catch (const nlohmann::json::exception& error) { // syntax, or a number past double
        std::cerr << "Scene file \"" << path << "\" was not loaded: " << error.what() << '\n';
        return;
    }
    LoadDocument(document);
}

void ICompManager::LoadDocument(const nlohmann::json& document)
{
    EntityMgr& entities = EntityMgr::GetInstance();
    const EntityMgr::Snapshot previous = entities.TakeSnapshot();
    ForEachManager([](ICompManager& manager) { manager.SetAside(); });
    try {
        ReadScene(document);
    } catch (...) {
        // What was read goes, without ever having started; the previous
        // scene comes back whole.
        ClearAll();
        SwapAllWithAside();
        entities.RestoreSnapshot(previous);
        throw;
    }
    // The previous scene is destroyed as the running one, as any scene
    // change destroys it, so its components meet only their own scene on
    // the way out. Then the new scene takes over.
    const EntityMgr::Snapshot loaded = entities.TakeSnapshot();
    SwapAllWithAside();
    entities.RestoreSnapshot(previous);
    entities.DestroyAll();
    ClearAll();
    SwapAllWithAside();
    entities.RestoreSnapshot(loaded);
    ForEachManager([](ICompManager& manager) { manager.SceneLoaded(); });
}

bool ICompManager::IsReadingScene() { return gReadingScene; }

EntityHandle ICompManager::GetComp(const ICompManager& manager, EntityHandle entity)
{
    return manager.HasComponent(entity) ? entity : EntityHandle();
}

} // namespace Engine
