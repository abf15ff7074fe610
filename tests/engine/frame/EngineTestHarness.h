#pragma once
#include "engine/core/Core.h"
#include "engine/core/InputManager.h"
#include "engine/logic/Factory.h"
#include "engine/platform/Clock.h"
#include "engine/render/Window.h"
#include "game/match/RegisterLogicTypes.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace FrameTest {

// Brings the engine up as main does, once per test process (every test runs
// in a process of its own).
inline void StartEngine()
{
    if (Engine::Window::Main())
        return;
    Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);
    // Xvfb without a window manager may leave the window unfocused, and SDL
    // drops pad buttons while no window of the program has focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    testing::internal::CaptureStdout();
    Engine::Core::GetInstance().InitWindow();
    Engine::Core::GetInstance().Init();
    testing::internal::GetCapturedStdout();
}

// Milliseconds creep one microsecond per reading, so every paced frame lasts
// exactly 7 ms of this clock however fast the machine is.
class CreepingClock : public Engine::Platform::IClock {
public:
    CreepingClock() { Engine::Platform::SetClock(this); }
    ~CreepingClock() override { Engine::Platform::SetClock(nullptr); }
    CreepingClock(const CreepingClock&) = delete;
    CreepingClock& operator=(const CreepingClock&) = delete;
    std::uint64_t Counter() override { return mMicroseconds; }
    std::uint64_t Frequency() override { return 1000000; }
    std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(mMicroseconds++ / 1000); }

private:
    std::uint64_t mMicroseconds = 1000000;
};

// Stands in for the video backend, which writes SDL's keyboard array while
// events are pumped.
inline void SetKey(SDL_Scancode key, bool down)
{
    const_cast<Uint8*>(SDL_GetKeyboardState(nullptr))[key] = down ? 1 : 0;
}

} // namespace FrameTest
