#pragma once
#include "engine/core/SceneManager.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/MenuSounds.h"
#include "engine/ui/TextComps.h"
#include "game/config/UserConfig.h"
#include "game/modes/MatchHarness.h"
#include "support/PrivateDisplay.h"

#include <string>

// The game from its title screen: the modes change as the mode loop changes
// them, the menus are walked with the arrow keys and Return, and pictures
// are taken of what the window shows. It runs on an X server of its own.
class GameDriver : public MatchHarness {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Display().Name().empty()) << "Xvfb did not start";
        MatchHarness::SetUp();
        RestMouseInCorner();
        // The pictures are the menus at the game's own window size, kept by
        // the configuration every match start reads; only the pictured
        // frames are drawn, so the size costs little.
        // (Going windowed again makes the renderer's targets that size too.)
        Engine::Window::Main()->SetResolution({1280, 720});
        WindowedHome::SaveWindowed();
        // Every swap would wait for the display otherwise.
        Engine::Renderer::GetInstance().SetVSync(false);
        Engine::UI::MenuSounds::Make();
        Engine::Renderer::GetInstance().overlayCallback = &GameMode::RenderUILayers;
    }

    // The running mode ends as the loop ends it, and the scene goes with it:
    // its logic components belong to the scene.
    void TearDown() override
    {
        if (!GameMode::Current.Empty()) {
            GameMode::Pending = {};
            GameMode::ChangeRequested = false;
            GameMode::Current.Shutdown();
            GameMode::Current = {};
        }
        Engine::SceneManager::SetIdle();
        Engine::SceneManager::DestroySceneImmediately();
        MatchHarness::TearDown();
    }

    // The mouse rests in a corner, over no button, so only the keys the
    // test presses move the menus' focus.
    static void RestMouseInCorner()
    {
        Engine::InputHost host = Input().GetHost();
        host.mouseState = [](int* x, int* y) -> std::uint32_t {
            *x = 1;
            *y = 1;
            return 0;
        };
        Input().SetHost(host);
    }

    static std::string ConfigPath() { return UserConfig::GetFilePath(); }

    // One turn of the mode loop: a pending change first (Shutdown of the
    // old mode, Init of the new), then one engine frame and the mode's
    // update. The software renderer takes a good part of a second for a
    // frame of the whole arena: only the frames a test looks at are drawn.
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
        // The modes switch it back on as they come and go.
        Engine::Renderer::GetInstance().renderingEnabled = false;
        Frame();
    }
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
            Step();
    }
    // Down for one step, up for the next.
    void Press(SDL_Scancode key)
    {
        held.insert(key);
        Step();
        held.erase(key);
        Step();
    }

    static Engine::UI::Layer* TopLayer() { return Engine::UI::LayerStack::GetInstance().Top(); }
    static std::string TopPage() { return TopLayer() ? TopLayer()->name : ""; }
    // The text id on the focused element of the top page.
    static std::uint32_t Focused()
    {
        if (!TopLayer() || !TopLayer()->focused)
            return ~0u;
        auto* text = TopLayer()->focused->owner->GetComp<Engine::UI::LocaleTextComp>();
        return text ? text->key : ~0u;
    }
    // What the focused element of the top page reads.
    static std::u16string FocusedLabel()
    {
        if (!TopLayer() || !TopLayer()->focused)
            return u"";
        auto* text = TopLayer()->focused->owner->GetComp<Engine::UI::BaseTextComp>();
        return text ? text->GetText() : u"";
    }

    // Walks the focus with the arrow keys onto the button showing the text.
    bool FocusWithArrows(std::uint32_t textId, SDL_Scancode direction = SDL_SCANCODE_DOWN, int tries = 12)
    {
        for (int i = 0; i < tries && Focused() != textId; ++i)
            Press(direction);
        return Focused() == textId;
    }
    // The same onto a label that starts with the text.
    bool FocusWithArrows(const std::u16string& start, SDL_Scancode direction, int tries = 6)
    {
        for (int i = 0; i < tries && FocusedLabel().rfind(start, 0) != 0; ++i)
            Press(direction);
        return FocusedLabel().rfind(start, 0) == 0;
    }
    // Walks there and presses Return; the page it opens is up after it.
    void Choose(std::uint32_t textId, SDL_Scancode direction = SDL_SCANCODE_DOWN)
    {
        ASSERT_TRUE(FocusWithArrows(textId, direction)) << "no way to " << textId << " on " << TopPage();
        Press(SDL_SCANCODE_RETURN);
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

    // What the window shows after one more step, as a PNG under
    // screenshots/.
    void Shot(const std::string& name)
    {
        Step();
        Engine::Renderer& renderer = Engine::Renderer::GetInstance();
        renderer.renderingEnabled = true;
        EngineFrame();
        renderer.renderingEnabled = false;
        EXPECT_TRUE(SaveScreenshot(name));
    }

    // Made before the engine opens its window, once for the process.
    static const PrivateDisplay& Display()
    {
        static const PrivateDisplay display;
        return display;
    }
};
