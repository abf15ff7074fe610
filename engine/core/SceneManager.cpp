#include "engine/core/SceneManager.h"

#include "engine/core/CompManager.h"
#include "engine/core/EntityManager.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

namespace Engine {
namespace {

struct SceneData {
    std::uint32_t state = SceneManager::Idle;
    std::vector<SceneManager::Listener> listeners;
    bool saveRequested = false;
    bool loadRequested = false;
    std::string savePath;
    std::string loadPath;
};

SceneData& Data()
{
    static SceneData data;
    return data;
}

// Parses the whole file before anything is destroyed: the running scene is
// worth more than a file we cannot read.
bool ReadSceneFile(const std::string& path, nlohmann::json& document)
{
    std::ifstream file(path);
    if (!file) {
        std::clog << "[SceneManager] Scene file \"" << path << "\" cannot be opened; the scene is kept.\n";
        return false;
    }
    try {
        file >> document;
    } catch (const nlohmann::json::exception& error) {
        std::clog << "[SceneManager] Scene file \"" << path << "\" is not valid JSON; the scene is kept: "
                  << error.what() << '\n';
        return false;
    }
    return true;
}

template <class Action>
void ReportFailure(const char* what, const std::string& path, Action action)
{
    try {
        action();
    } catch (const std::exception& error) {
        std::clog << "[SceneManager] " << what << " \"" << path << "\" failed: " << error.what() << '\n';
    } catch (...) {
        std::clog << "[SceneManager] " << what << " \"" << path << "\" failed.\n";
    }
}

} // namespace

std::uint32_t SceneManager::GetState() { return Data().state; }

const char* SceneManager::StateName(std::uint32_t state)
{
    switch (state) {
    case Idle:
        return "Idle";
    case Creation:
        return "Creation";
    case Active:
        return "Active";
    default:
        return "Unknown";
    }
}

void SceneManager::SetState(std::uint32_t newState)
{
    SceneData& data = Data();
    if (newState == data.state)
        return;
    std::clog << "[SceneManager] Changed scene state: " << StateName(data.state) << " -> " << StateName(newState)
              << '\n';
    StateChange change{false, true, data.state, newState};
    data.state = newState;
    // A listener that registers another must not pull the list from under
    // the walk.
    const std::vector<Listener> listeners = data.listeners;
    for (auto it = listeners.rbegin(); it != listeners.rend() && !change.handled; ++it)
        (*it)(change);
}

void SceneManager::AddListener(Listener listener)
{
    if (listener)
        Data().listeners.push_back(std::move(listener));
}

void SceneManager::Reset()
{
    Data() = SceneData{};
}

void SceneManager::DestroySceneImmediately()
{
    std::clog << "[SceneManager] Immediate scene destruction.\n";
    EntityMgr::GetInstance().DestroyAll();
    ICompManager::ClearAll();
}

bool SceneManager::SaveScene(const std::string& path)
{
    // A path in no folder cannot be opened: it saves nothing and says
    // nothing. Any other failure is told.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ignored))
        return false;
    Platform::Replacement outcome;
    if (!ICompManager::SaveAll(path.c_str(), &outcome)) {
        std::clog << "[SceneManager] Scene not saved (" << outcome.failure << ")";
        if (!outcome.fileChanged)
            std::clog << "; \"" << path << "\" is left as it was";
        std::clog << ".\n";
        return false;
    }
    std::clog << "[SceneManager] Saving scene to \"" << path << "\".\n";
    return true;
}

bool SceneManager::LoadScene(const std::string& path)
{
    nlohmann::json document;
    if (!ReadSceneFile(path, document))
        return false;
    std::clog << "[SceneManager] Immediate scene destruction.\n";
    std::clog << "[SceneManager] Loading scene \"" << path << "\".\n";
    ICompManager::LoadDocument(document);
    return true;
}

void SceneManager::RequestSave(const std::string& path)
{
    Data().saveRequested = true;
    Data().savePath = path;
}

void SceneManager::RequestLoad(const std::string& path)
{
    Data().loadRequested = true;
    Data().loadPath = path;
}

void SceneManager::ProcessRequests()
{
    SceneData& data = Data();
    if (data.saveRequested) {
        data.saveRequested = false;
        const std::string path = std::move(data.savePath);
        data.savePath.clear();
        ReportFailure("Saving scene to", path, [&path] { SaveScene(path); });
    }
    if (data.loadRequested) {
        data.loadRequested = false;
        const std::string path = std::move(data.loadPath);
        data.loadPath.clear();
        ReportFailure("Loading scene", path, [&path] { LoadScene(path); });
    }
}

} // namespace Engine
