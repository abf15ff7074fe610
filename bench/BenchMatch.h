#pragma once
// Matches and the title screen as the game runs them, for benchmarks of
// drawn frames. Needs a display: run under xvfb-run -a -s "-screen 0 1280x720x24".
#include "bench/BenchEngine.h"
#include "engine/frame/Core.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "game/config/UserConfig.h"
#include "game/match/GameScene.h"
#include "game/modes/GameMode.h"
#include "tests/support/CreepingClock.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <string>

// A configuration of our own for a windowed 1280 x 720 game: the scene
// builder reads it at every match start. Once per process.
inline void UseBenchConfiguration()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const std::string home = MakeTempFolder("solvane-bench");
    if (!home.empty())
        setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    Engine::Window& window = *Engine::Window::Main();
    window.SetFullscreen(false);
    window.SetResolution({1280, 720});
    UserConfig::Save();
}

// The engine started as main starts it, in the benchmarks' window, drawing
// the menu layers over the cameras as the game does, without vertical sync.
inline void StartGameEngineOnce()
{
    StartEngineOnce();
    UseBenchConfiguration();
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.overlayCallback = &GameMode::RenderUILayers;
    renderer.SetVSync(false);
}

// Frames of a mode's start-up, run but not drawn: the floor rises into
// place.
inline void RunUndrawnFrames(void (*update)(), int frames)
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    CreepingClock clock;
    for (int frame = 0; frame < frames; ++frame) {
        renderer.renderingEnabled = false;
        clock.Advance(16);
        Engine::Core::GetInstance().Update();
        update();
    }
    renderer.renderingEnabled = true;
}

// A two-player match on this machine as the gameplay mode builds it (each
// player's view on half the window).
inline void StartTwoPlayerMatch()
{
    StartGameEngineOnce();
    GameScene::PlayerCount = 2;
    GameMode::Current = GameMode::Gameplay;
    GameplayMode::Init();
    RunUndrawnFrames(&GameplayMode::Update, 250);
}
