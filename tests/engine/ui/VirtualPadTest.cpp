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
    SDL_Joystick* pad = SDL_JoystickOpen(AttachVirtualPad());
    ASSERT_NE(pad, nullptr) << SDL_GetError();
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
        SDL_JoystickSetVirtualButton(pad, button, 1);
        SDL_JoystickUpdate();
        Frame(stack);
        SDL_JoystickSetVirtualButton(pad, button, 0);
        SDL_JoystickUpdate();
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
    SDL_JoystickClose(pad);
}

} // namespace
