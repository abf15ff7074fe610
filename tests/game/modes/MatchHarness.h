#pragma once
#include "engine/core/InputManager.h"
#include "engine/frame/Core.h"
#include "engine/frame/EngineTestHarness.h"
#include "engine/ui/LayerStack.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "engine/ui/Localisation.h"
#include "game/config/GameText.h"
#include "game/modes/GameMode.h"
#include "game/match/MatchScene.h"
#include "support/CapturedOutput.h"
#include "support/CreepingClock.h"
#include "support/InjectedMotion.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <set>
#include <string>

// The program as main brings it up (the menu layers drawn over the views),
// with the window's focus, the mouse buttons, the keys and the clock in the
// test's hands. Frames run as the mode loop runs them: one engine frame,
// then the mode's Update.
//
// Input follows SDL's rhythm: what the test holds arrives with a frame's
// event pump, so the mode's Update of that frame and the logic of the next
// one both see it as pressed this frame.
class MatchHarness : public ::testing::Test {
protected:
    static constexpr int kWindowWidth = 640;
    static constexpr int kWindowHeight = 360;

    void SetUp() override
    {
        FrameTest::StartEngine();
        InjectedMotion::KeepOnlyInjected(true);
        // A quit that an earlier test of the process asked for would end
        // every loop at once.
        Input().Init();
        GameText::Load();
        // The software renderer's time grows with the window: matches run in
        // a small one, kept by the configuration every match start reads.
        Engine::Window::Main()->SetResolution({kWindowWidth, kWindowHeight});
        WindowedHome::SaveWindowed();
        Engine::Renderer::GetInstance().overlayCallback = &GameMode::RenderUILayers;
        Engine::InputHost host = Input().GetHost();
        host.keyboardFocus = [] { return sFocused; };
        host.mouseState = [](int* x, int* y) {
            *x = 640;
            *y = 360;
            return sMouseButtons;
        };
        Input().SetHost(host);
        sFocused = true;
        sMouseButtons = 0;
    }

    void TearDown() override
    {
        NewRunsGameState();
        InjectedMotion::KeepOnlyInjected(false);
    }

    // The game's mode loop, from the pending mode, with the test's
    // LoopFrame as its engine frame; the loop ends when LoopFrame says so.
    virtual bool LoopFrame() { return EngineFrame(); }
    void RunModes()
    {
        sRunning = this;
        GameMode::Run([] { return sRunning->LoopFrame(); });
        sRunning = nullptr;
    }

    static Engine::InputManager& Input() { return Engine::InputManager::GetInstance(); }
    static Engine::UI::LayerStack& Layers() { return Engine::UI::LayerStack::GetInstance(); }

    // One engine frame; false once the window is closing.
    bool EngineFrame()
    {
        WriteKeys(mPumped);
        clock.Advance(frameMilliseconds);
        const bool open = Engine::Core::GetInstance().Update();
        WriteKeys(held);
        mPumped = held;
        return open;
    }
    // One iteration of the mode loop, for tests that call the mode's entry
    // points themselves.
    void Frame()
    {
        EngineFrame();
        GameMode::Current.Update();
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    // Down for one frame, then up for one.
    void Tap(SDL_Scancode key)
    {
        held.insert(key);
        Frame();
        held.erase(key);
        Frame();
    }

    // SDL writes its key array while events are pumped, and brings it back
    // in line with the X server's keyboard when focus moves: the keys the
    // test holds are written again around every frame.
    static void WriteKeys(const std::set<SDL_Scancode>& down)
    {
        int count = 0;
        Uint8* keys = const_cast<Uint8*>(SDL_GetKeyboardState(&count));
        std::fill(keys, keys + count, Uint8{0});
        for (SDL_Scancode key : down)
            keys[key] = 1;
    }

    static inline MatchHarness* sRunning = nullptr;
    static inline bool sFocused = true;
    static inline std::uint32_t sMouseButtons = 0;
    std::set<SDL_Scancode> held;
    CreepingClock clock;
    std::uint64_t frameMilliseconds = 16;
    // Every match start reads the user configuration, and F11 writes it:
    // both go to a home of the test's own, made before the engine starts.
    WindowedHome home;

private:
    std::set<SDL_Scancode> mPumped;
};
