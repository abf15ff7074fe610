#include "game/modes/GameMode.h"

#include "engine/core/InputManager.h"
#include "engine/frame/Core.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/UiHost.h"
#include "game/modes/FocusMuting.h"

namespace {

bool RunEngineFrame() { return Engine::Core::GetInstance().Update(); }

// The window size the layers were last laid out for.
glm::vec2 gLaidOutFor{0.0f};

// Frames and updates of the current mode until it asks for a change. False
// when the window is closing.
bool RunCurrentMode(GameMode::EngineFrame frame, FocusMuting& focus)
{
    while (!GameMode::ChangeRequested) {
        if (!frame())
            return false;
        // The frame has pumped the focus change: the click that brought the
        // focus back must find the player's volumes, or a setting it saves
        // writes them as 0.
        focus.Follow();
        GameMode::Current.Update();
    }
    return true;
}

} // namespace

void GameMode::Run(EngineFrame frame)
{
    if (!frame)
        frame = &RunEngineFrame;
    FocusMuting focus;
    focus.Start();
    const Engine::InputManager& input = Engine::InputManager::GetInstance();
    bool open = true;
    // A closed window ends the run even without a quit request: the next
    // mode would get no frame.
    while (open && !input.IsQuitRequested() && !Pending.Empty()) {
        Current = Pending;
        Pending = {};
        Current.Init();
        open = RunCurrentMode(frame, focus);
        ChangeRequested = false;
        Current.Shutdown();
    }
}

// The layers draw without the depth test: the window's depth needs no clear.
void GameMode::RenderUILayers()
{
    Engine::UI::LayerStack::GetInstance().RenderTop(0);
}

void GameMode::UpdateUILayers()
{
    Engine::UI::LayerStack& stack = Engine::UI::LayerStack::GetInstance();
    stack.ReadMouse();
    const glm::vec2 size = Engine::UI::Host().WindowSize();
    if (size != gLaidOutFor) {
        stack.LayoutAll();
        gLaidOutFor = size;
    }
    stack.Update(0);
}
