#include "TestButtons.h"
#include "engine/core/InputManager.h"
#include "support/VirtualPad.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

using Engine::InputManager;
using Engine::UI::Canvas;
using Engine::UI::LayerStack;
using Engine::UI::Widget;

// The real input path: SDL's virtual pad, the input manager's pump, and the
// engine's own menu host.
void Frame(LayerStack& stack)
{
    InputManager::GetInstance().EndFrame();
    InputManager::GetInstance().Update();
    stack.ReadMouse();
    stack.Update();
}

TEST(VirtualPad, PadDownMovesTheFocusAndAActivates)
{
    InputManager::GetInstance().Init();
    // Unplugged however the test ends: a pad left in would be the next
    // test's too.
    PluggedPad pad;
    ASSERT_TRUE(pad.IsPlugged()) << SDL_GetError();
    LayerStack stack;
    std::vector<Widget*> column;
    int runs[3] = {};
    Engine::UI::Layer* layer = stack.Push(TestLayer([&](Canvas& root) {
                                              for (int i = 0; i < 3; ++i) {
                                                  const float y = 0.5f - 0.5f * static_cast<float>(i);
                                                  column.push_back(TestButton(root, glm::vec2(0.0f, y)));
                                                  CountActivations(*column.back(), runs[i]);
                                              }
                                              return column[0];
                                          }),
                                          "Pad");
    Frame(stack);
    ASSERT_EQ(InputManager::GetInstance().GetPlayerControllers().size(), 1u);

    auto press = [&](SDL_GameControllerButton button) {
        pad.Button(button, true);
        Frame(stack);
        pad.Button(button, false);
        Frame(stack);
    };
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(layer->focused, DetectorOf(column[1]));
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(layer->focused, DetectorOf(column[2]));
    press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(layer->focused, DetectorOf(column[1]));

    press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(runs[0], 0);
    EXPECT_EQ(runs[1], 1);
    EXPECT_EQ(runs[2], 0);
    press(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(runs[1], 1);
    // The input manager lets go of it at the pump after the unplug.
    pad.Unplug();
    Frame(stack);
    EXPECT_TRUE(InputManager::GetInstance().GetPlayerControllers().empty());
}

} // namespace
