// Scene file: one JSON object, 4-space indentation, keys ascending:
//   {"EntityMgr": {...}, "<manager key>": ..., ...}
// Only the first JSON value of the file is read; what follows it is ignored.
// The file is parsed whole before any manager is cleared, and a section that
// fails to load puts the previous scene back before the error goes on.
#include "engine/core/CompManager.h"

#include "engine/core/EntityManager.h"

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

bool ICompManager::SaveAll(const char* path)
{
    // The text is complete before the file is opened, so a manager that
    // throws (or a string the writer refuses) leaves an existing file whole.
    nlohmann::json document = nlohmann::json::object();
    EntityMgr::GetInstance().Save(document);
    ForEachManager([&document](ICompManager& manager) { manager.Save(document); });
    const std::string text = document.dump(4);

    std::ofstream file(path, std::ios::out | std::ios::trunc);
    if (!file)
        return false;
    file << text;
    // A full disk shows only here; the caller must not take a cut file for a save.
    file.close();
    return !file.fail();
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
    SceneRollback::RestoreOnFailure([&document] { LoadDocument(document); });
}

void ICompManager::LoadDocument(const nlohmann::json& document)
{
    ClearAll();
    EntityMgr::GetInstance().Load(document);
    ForEachManager([&document](ICompManager& manager) { manager.Load(document); });
}

SceneRollback::SceneRollback()
    : mEntities(EntityMgr::GetInstance().TakeSnapshot()), mManagers(nlohmann::json::object())
{
    ICompManager::ForEachManager([this](ICompManager& manager) { manager.Save(mManagers); });
}

void SceneRollback::Restore() const
{
    ICompManager::ClearAll();
    EntityMgr::GetInstance().RestoreSnapshot(mEntities);
    ICompManager::ForEachManager([this](ICompManager& manager) { manager.Load(mManagers); });
}

EntityHandle ICompManager::GetComp(const ICompManager& manager, EntityHandle entity)
{
    return manager.HasComponent(entity) ? entity : EntityHandle();
}

} // namespace Engine
