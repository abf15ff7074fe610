#pragma once
#include "engine/core/InputManager.h"
#include "engine/frame/Core.h"
#include "engine/logic/Factory.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/MenuSounds.h"
#include "engine/ui/TextComps.h"
#include "game/match/GameMode.h"
#include "game/match/RegisterLogicTypes.h"
#include "support/CapturedOutput.h"
#include "support/CreepingClock.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <set>
#include <string>

// The game as main brings it up, its modes run frame by frame the way the
// mode loop runs them, and a keyboard the test presses: keys go into SDL's
// key array between the engine frame (whose end of frame copies the state
// into the previous one) and the mode's update, which reads them.
class GameDriver {
public:
    GameDriver()
    {
        Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        StdoutOf([] {
            Engine::Core::GetInstance().InitWindow();
            Engine::Core::GetInstance().Init();
        });
        Engine::Window::Main()->SetFullscreen(false);
        Engine::InputManager::GetInstance().SetHost([] {
            Engine::InputHost host = Engine::InputManager::GetInstance().GetHost();
            host.keyboardFocus = [] { return true; };
            // Other tests' windows share the display and its pointer: the
            // mouse stays still in a corner with no button down, so only
            // the keys the test presses move the menus.
            host.mouseState = [](int* x, int* y) -> std::uint32_t {
                *x = 1;
                *y = 1;
                return 0;
            };
            return host;
        }());
        Localisation::LoadTextTable();
        Engine::UI::MenuSounds::Make();
        Engine::Renderer::GetInstance().overlayCallback = &GameMode::RenderUILayers;
        // The software renderer takes a good part of a second for a frame of
        // the whole arena: only the frames a test looks at are drawn.
        Engine::Renderer::GetInstance().renderingEnabled = false;
    }

    // One turn of the mode loop: a pending change first (Shutdown of the
    // old mode, Init of the new), then one engine frame and the mode's
    // update. Each frame stands for 16 ms of play.
    void Step()
    {
        if (GameMode::Current.Empty() || GameMode::ChangeRequested) {
            if (!GameMode::Current.Empty()) {
                GameMode::ChangeRequested = false;
                GameMode::Current.Shutdown();
            }
            ASSERT_FALSE(GameMode::Pending.Empty()) << "no mode to run";
            GameMode::Current = GameMode::Pending;
            GameMode::Pending = {};
            GameMode::Current.Init();
            if (GameMode::ChangeRequested)
                return;
        }
        clock.Advance(16);
        Engine::Core::GetInstance().Update();
        Uint8* keys = const_cast<Uint8*>(SDL_GetKeyboardState(nullptr));
        for (SDL_Scancode key : tapped)
            keys[key] = 0;
        tapped.swap(pressed);
        for (SDL_Scancode key : tapped)
            keys[key] = 1;
        pressed.clear();
        GameMode::Current.Update();
    }
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
            Step();
    }

    // Down for the next step's update, up for the one after.
    void Tap(SDL_Scancode key)
    {
        pressed.insert(key);
        Steps(2);
    }

    // The text id on the focused element of the top page.
    static std::uint32_t Focused()
    {
        Engine::UI::Layer* top = Engine::UI::LayerStack::GetInstance().Top();
        if (!top || !top->focused)
            return ~0u;
        auto* text = top->focused->owner->GetComp<Engine::UI::LocaleTextComp>();
        return text ? text->key : ~0u;
    }
    static std::string TopPage()
    {
        Engine::UI::Layer* top = Engine::UI::LayerStack::GetInstance().Top();
        return top ? top->name : "";
    }

    // What the focused element of the top page reads.
    static std::u16string FocusedLabel()
    {
        Engine::UI::Layer* top = Engine::UI::LayerStack::GetInstance().Top();
        if (!top || !top->focused)
            return u"";
        auto* text = top->focused->owner->GetComp<Engine::UI::BaseTextComp>();
        return text ? text->GetText() : u"";
    }

    // Walks the focus with the arrow keys onto the button showing the text.
    bool FocusWithArrows(std::uint32_t textId, SDL_Scancode direction = SDL_SCANCODE_DOWN, int tries = 12)
    {
        for (int i = 0; i < tries && Focused() != textId; ++i)
            Tap(direction);
        return Focused() == textId;
    }
    // The same onto a label that starts with the text.
    bool FocusWithArrows(const std::u16string& start, SDL_Scancode direction, int tries = 6)
    {
        for (int i = 0; i < tries && FocusedLabel().rfind(start, 0) != 0; ++i)
            Tap(direction);
        return FocusedLabel().rfind(start, 0) == 0;
    }

    // Text typed into the window, as SDL hands it on.
    void Type(const char* text)
    {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = SDL_GetWindowID(Engine::Window::Main()->sdlWindow);
        SDL_strlcpy(event.text.text, text, sizeof event.text.text);
        SDL_PushEvent(&event);
        Step();
    }

    // Steps until the mode runs; false when it did not start in time.
    bool RunUntil(const GameMode::Triple& mode, int limit = 20)
    {
        for (int i = 0; i < limit && !GameMode::IsCurrent(mode); ++i)
            Step();
        return GameMode::IsCurrent(mode);
    }
    // Walks there and presses Return; the page it opens is up after it.
    void Choose(std::uint32_t textId, SDL_Scancode direction = SDL_SCANCODE_DOWN)
    {
        ASSERT_TRUE(FocusWithArrows(textId, direction)) << "no way to " << textId << " on " << TopPage();
        Tap(SDL_SCANCODE_RETURN);
    }

    // What the window shows after one more step, as a PNG under
    // screenshots/.
    void Shot(const std::string& name)
    {
        Step();
        Engine::Renderer& renderer = Engine::Renderer::GetInstance();
        renderer.renderingEnabled = true;
        clock.Advance(16);
        Engine::Core::GetInstance().Update();
        renderer.renderingEnabled = false;
        EXPECT_TRUE(SaveScreenshot(name));
    }

    CreepingClock clock;
    std::set<SDL_Scancode> pressed;
    std::set<SDL_Scancode> tapped;
};
