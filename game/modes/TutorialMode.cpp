#include "game/modes/TutorialMode.h"

#include "engine/core/InputManager.h"
#include "engine/core/SceneManager.h"
#include "engine/render/Renderer.h"
#include "engine/ui/LayerStack.h"
#include "game/arena/MatchRecorder.h"
#include "game/match/GameScene.h"
#include "game/match/ModeSteps.h"
#include "game/match/TutorialArena.h"
#include "game/modes/GameMode.h"
#include "game/modes/TitleMode.h"

#include <SDL.h>
#include <exception>
#include <iostream>

namespace TutorialMode {

namespace {

// The layers that were there when the tutorial started (the title's pages
// and the explanation); anything above them goes with the tutorial.
std::size_t gSavedDepth = 0;

MatchRecorder& Recorder() { return MatchRecorder::GetInstance(); }
Engine::UI::LayerStack& Layers() { return Engine::UI::LayerStack::GetInstance(); }

// The end of the playback ends the tutorial through the recorder going live;
// no flag is raised that the next match would find.
void PlaybackFinished() {}

void BuildScene()
{
    TutorialArena::BuildSettledScene();
    // After the scene builder, which installs the match's own answer.
    MatchRecorder::ReplayHooks hooks = Recorder().GetReplayHooks();
    hooks.playbackFinished = &PlaybackFinished;
    Recorder().SetReplayHooks(hooks);
}

// A recording that cannot be played leaves the playback empty: the first
// update then finds the recorder live and the title comes back.
void LoadRecording(const TutorialTableRow& row)
{
    MatchRecorder& recorder = Recorder();
    const std::string path = TutorialArena::RecordingPath(row.recording);
    bool loaded = false;
    try {
        loaded = row.recording && recorder.LoadRecording(path);
    } catch (const std::exception& error) {
        std::cerr << "[Tutorial] Recording \"" << path << "\" could not be read: " << error.what() << "\n";
        MatchRecorder::ClearFrameList(recorder.playback);
    }
    if (!loaded)
        std::cerr << "[Tutorial] The tutorial \"" << path << "\" cannot be shown; back to the title.\n";
    recorder.isTutorial = 1;
    recorder.isLive = 0;
}

} // namespace

void Init()
{
    gSavedDepth = Layers().Size();
    TitleMode::StopMenuMusic();
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    const TutorialTableRow row = GameMode::TutorialRow;
    GameScene::PlayerCount = row.twoPlayers ? 2 : 1;

    MatchRecorder& recorder = Recorder();
    recorder.isRecording = 1;
    recorder.isLive = 0;
    recorder.isTutorial = 1;
    recorder.bestScore = 0;
    BuildScene();
    LoadRecording(row);
    // The overlay's back button is clicked.
    Engine::InputManager::GetInstance().cursorVisible = true;
}

void Update()
{
    if (Engine::InputManager::GetInstance().IsKeyTriggered(SDL_SCANCODE_F11))
        ToggleFullscreenAndSave();
    Recorder().Update();
    if (Recorder().isLive)
        GameMode::Request(GameMode::Title);
    GameMode::UpdateUILayers();
}

void Shutdown()
{
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    Engine::UI::LayerStack& layers = Layers();
    while (layers.Size() > gSavedDepth)
        layers.Pop();
    GameMode::Pending = GameMode::Title;

    Recorder().GoLive();
    GameMode::ReturnRequested = 0;
    Engine::Renderer::GetInstance().renderingEnabled = true;
}

} // namespace TutorialMode
