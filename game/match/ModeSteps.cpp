#include "game/match/ModeSteps.h"

#include "engine/audio/SoundSystem.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/Window.h"
#include "engine/ui/MenuSounds.h"
#include "game/arena/MatchRecorder.h"
#include "game/config/UserConfig.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"

void ResetSceneSound()
{
    Engine::UI::MenuSounds::Release();
    if (DummySoundSystem* sound = SoundSystem::GetInstance())
        sound->Shutdown();
    SoundSystem::Create();
    Engine::UI::MenuSounds::Make();
}

void ToggleFullscreenAndSave()
{
    if (Engine::Window* window = Engine::Window::Main())
        window->ToggleFullscreen();
    UserConfig::Save();
}

void BuildLocalScene()
{
    GameScene::Build();
    Engine::SpatialCollisionMgr::GetInstance().UpdateAll();
    GameState::Reset();
    Engine::SceneManager::SetIdle();
    Engine::LogicManager::GetInstance().InitializeLogicComponents();
    Engine::SceneManager::SetActive();
}

void StartBuiltScene()
{
    Engine::SceneManager::SetIdle();
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    MatchRecorder::ClearFrameList(recorder.ring);
    MatchRecorder::ClearFrameList(recorder.playback);
    recorder.Reset();
    Engine::LogicManager::GetInstance().InitializeLogicComponents();
    Engine::SpatialCollisionMgr::GetInstance().UpdateAll();
    Engine::SceneManager::SetActive();
}
