#pragma once
#include "engine/audio/MasterVolume.h"
#include "engine/audio/RecordingSoundSystem.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/InputManager.h"
#include "engine/core/Random.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/FrameTime.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/Renderer.h"
#include "game/FreshRun.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/player/PlayerHold.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/config/InputBindings.h"
#include "game/config/UserConfig.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/match/GridCreation.h"
#include "game/match/RegisterLogicTypes.h"
#include "game/modes/GameMode.h"
#include "support/CapturedOutput.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// A home folder of its own, holding a windowed configuration, so that the
// scene builder's reading of the user configuration keeps the test window
// as it is. The working directory stays (the data folder is read from it).
// The GL driver keeps no shader cache on disk here: its writer thread, still
// busy when the process ends, would otherwise meet the leak checker's
// stop-the-world at exit, which then fails now and then.
class WindowedHome {
public:
    WindowedHome()
    {
        setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
        std::string pattern = (std::filesystem::temp_directory_path() / "solvane-home-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            mPath = pattern;
        setenv("HOME", mPath.c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
    }
    ~WindowedHome()
    {
        std::error_code ignored;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, ignored);
    }
    WindowedHome(const WindowedHome&) = delete;
    WindowedHome& operator=(const WindowedHome&) = delete;

    // Written once the window is open: its settings are what is saved.
    static void SaveWindowed()
    {
        Engine::Window::Main()->SetFullscreen(false);
        StderrOf([] { UserConfig::Save(); });
    }

private:
    std::string mPath;
};

// A match scene built by the scene builder as the gameplay mode builds it,
// and frames driven with injected frame time: the logic, the physics, the
// players' hold, the game state and the recorder, then input's end of frame
// and the entity phase.
class MatchScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenTestWindowWithResources();
        WindowedHome::SaveWindowed();
        Engine::InputManager& input = Engine::InputManager::GetInstance();
        input.Init();
        Engine::InputHost host;
        host.window = Engine::Window::Main()->sdlWindow;
        host.keyboardFocus = [] { return true; };
        input.SetHost(host);
        Engine::MasterVolume::sfx = 0.5f;
        Engine::MasterVolume::music = 0.5f;
        RegisterLogicTypes();
        GameScene::PlayerUsesGamepad[0] = false;
        GameScene::PlayerUsesGamepad[1] = false;
    }

    void TearDown() override
    {
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        NetworkMgr::GetInstance().connected = 0;
        NetworkMgr::GetInstance().server = 0;
        PlayerHooks::Get() = PlayerHooks{};
        Engine::Random::SetSource(nullptr);
        SoundSystem::Install(nullptr);
        NewRunsGameState();
    }

    // The scene of a local match with that many players, initialised and
    // active, as the gameplay mode's Init leaves it. Returns the blank HUD.
    Engine::EntityHandle BuildMatch(int players)
    {
        GameScene::PlayerCount = players;
        Engine::EntityHandle blank;
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        Engine::SceneManager::SetCreation();
        builderSaid = StderrOf([&blank] { StdoutOf([&blank] { blank = GameScene::Build(); }); });
        Engine::SpatialCollisionMgr::GetInstance().UpdateAll();
        GameState::Reset();
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::LogicManager::GetInstance().InitializeLogicComponents(); });
        Engine::SceneManager::SetActive();
        return blank;
    }

    void Frame(std::uint64_t milliseconds = 10)
    {
        time.Frame(milliseconds);
        Engine::LogicManager::GetInstance().Update();
        Engine::CollisionMgr::GetInstance().Update();
        PlayerHold::HoldLocalPlayers();
        GameState::Update();
        MatchRecorder::GetInstance().Update();
        Engine::InputManager::GetInstance().EndFrame();
        Engine::InputManager::GetInstance().Update();
        Engine::EntityMgr::GetInstance().Flush();
        Engine::TransformCompManager::GetInstance().Update();
    }
    void Frames(int count, std::uint64_t milliseconds = 10)
    {
        for (int i = 0; i < count; ++i)
            Frame(milliseconds);
    }

    static std::vector<Engine::EntityHandle> Named(const std::string& name)
    {
        return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(name.c_str());
    }
    static std::vector<Engine::EntityHandle> Players() { return Named("Player_Mouse"); }
    static Player_LogicComp& Component(Engine::EntityHandle player)
    {
        return *Engine::LogicManager::GetCompPtr<Player_LogicComp>(player);
    }
    template <class T>
    static T* Find(Engine::EntityHandle entity)
    {
        return Engine::LogicManager::GetCompPtr<T>(entity);
    }
    static GameState& State() { return GameState::GetInstance(); }
    static HexGrid& Grid() { return HexGrid::GetInstance(); }

    WindowedHome home;
    InjectedFrameTime time;
    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    std::string builderSaid;
};
