#pragma once
#include "engine/core/InputManager.h"
#include "engine/core/Random.h"
#include "engine/frame/Core.h"
#include "engine/logic/Factory.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/Window.h"
#include "game/match/RegisterLogicTypes.h"
#include "support/CapturedOutput.h"
#include "support/CreepingClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace FrameTest {

// Brings the engine up as main does, once per test process. CTest runs each
// test in a process of its own; in a binary run whole an earlier test may
// have opened the window alone, without the engine, which then starts in it,
// and a later call puts the window, the renderer's frame settings and the
// engine's input back (a window an earlier test closed is open again; a
// host an earlier test replaced is the engine's again; a quit an earlier
// test asked for is no longer asked, or it would close the window again).
inline void StartEngine()
{
    static bool started = false;
    static Engine::InputHost engineHost;
    if (started) {
        OpenTestWindow();
        Engine::InputManager::GetInstance().SetHost(engineHost);
        Engine::InputManager::GetInstance().Init();
        return;
    }
    started = true;
    Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);
    // Xvfb without a window manager may leave the window unfocused, and SDL
    // drops pad buttons while no window of the program has focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    StdoutOf([] {
        if (!Engine::Window::Main())
            Engine::Core::GetInstance().InitWindow();
        Engine::Core::GetInstance().Init();
    });
    engineHost = Engine::InputManager::GetInstance().GetHost();
    // The engine seeds its generator from the calendar: a test draws the
    // same numbers in every run, first in its process or not.
    Engine::Random::SeedWith(1);
}

// Stands in for the video backend, which writes SDL's keyboard array while
// events are pumped.
inline void SetKey(SDL_Scancode key, bool down)
{
    const_cast<Uint8*>(SDL_GetKeyboardState(nullptr))[key] = down ? 1 : 0;
}

} // namespace FrameTest
