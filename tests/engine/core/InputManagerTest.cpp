#include "engine/core/InputEventHandlerList.h"
#include "engine/core/InputManager.h"
#include "support/VirtualPad.h"

#include <SDL.h>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using Engine::EntityHandle;
using Engine::InputManager;

InputManager& Input() { return InputManager::GetInstance(); }

// A frame boundary as the engine runs it: the state becomes the previous
// one, then the pump reads what changed.
void NextFrame()
{
    Input().EndFrame();
    Input().Update();
}

struct Pads : ::testing::Test {
    void SetUp() override { Input().Init(); }
    // Every pad is unplugged again and the players the tests bind let go,
    // so the next test starts with neither.
    void TearDown() override
    {
        for (std::uint16_t player = 1; player <= 3; ++player)
            Input().ReleaseController(EntityHandle(player));
        for (SDL_Joystick* pad : plugged)
            SDL_JoystickClose(pad);
        while (SDL_NumJoysticks() > 0)
            SDL_JoystickDetachVirtual(0);
        NextFrame();
    }

    SDL_Joystick* Attach()
    {
        SDL_Joystick* pad = SDL_JoystickOpen(AttachVirtualPad());
        EXPECT_NE(pad, nullptr) << SDL_GetError();
        plugged.push_back(pad);
        NextFrame();
        return pad;
    }

    std::vector<SDL_Joystick*> plugged;
};

TEST_F(Pads, StickDeadZoneUpwardYAndTriggerButtons)
{
    SDL_Joystick* pad = Attach();
    const EntityHandle player(1);
    ASSERT_TRUE(Input().AssignController(player));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -20000);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 7999);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, -32768);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY, 8000);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    NextFrame();
    EXPECT_NEAR(Input().GetLeftStick(player).y, 0.6104f, 1e-4f); // pushed up reads positive
    EXPECT_EQ(Input().GetLeftStick(player).x, 0.0f);
    EXPECT_EQ(Input().GetRightStick(player).x, -1.0f); // -32768 must not reach past -1
    // The dead zone's edge already counts, unscaled: 8000 / 32767.
    EXPECT_NEAR(Input().GetRightStick(player).y, -0.24414f, 1e-5f);
    EXPECT_TRUE(Input().IsButtonTriggered(InputManager::kRightTriggerButton, player));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -8000);
    NextFrame();
    EXPECT_NEAR(Input().GetLeftStick(player).x, -0.24414f, 1e-5f);

    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000);
    NextFrame();
    EXPECT_TRUE(Input().IsButtonDown(InputManager::kRightTriggerButton, player));
    EXPECT_FALSE(Input().IsButtonTriggered(InputManager::kRightTriggerButton, player));
    // SDL maps the raw axis's full range onto the trigger's 0 to 32767.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
    NextFrame();
    EXPECT_TRUE(Input().IsButtonReleased(InputManager::kRightTriggerButton, player));
    EXPECT_FALSE(Input().IsButtonDown(InputManager::kLeftTriggerButton, player));

    // SDL's own buttons 15 and 16 (share, first paddle) are not the triggers.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_MISC1, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_PADDLE1, 1);
    NextFrame();
    EXPECT_FALSE(Input().IsButtonDown(InputManager::kLeftTriggerButton, player));
    EXPECT_FALSE(Input().IsButtonDown(InputManager::kRightTriggerButton, player));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_MISC1, 0);
    NextFrame();
    EXPECT_TRUE(Input().IsButtonDown(InputManager::kLeftTriggerButton, player));
}

TEST_F(Pads, EachPadIsOpenedOnceAndEventsReachThePadTheyName)
{
    SDL_Joystick* first = Attach();
    SDL_Joystick* second = Attach();
    SDL_Event again{};
    again.type = SDL_CONTROLLERDEVICEADDED;
    SDL_PushEvent(&again);
    NextFrame();
    const auto& pads = Input().GetPlayerControllers();
    ASSERT_EQ(pads.size(), 2u);
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_B, 1);
    NextFrame();
    EXPECT_TRUE(Input().IsControllerButtonDown(SDL_CONTROLLER_BUTTON_B, pads.at(SDL_JoystickInstanceID(second))));
    EXPECT_FALSE(Input().IsControllerButtonDown(SDL_CONTROLLER_BUTTON_B, pads.at(SDL_JoystickInstanceID(first))));
}

// Input may start again and again (each match's tests do): the pads still
// speak after the 256th start.
TEST_F(Pads, InputStartedManyTimesStillHearsThePads)
{
    for (int i = 0; i < 256; ++i) {
        Input().Init();
        ASSERT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u) << "after start " << i + 1;
    }
    SDL_Joystick* pad = Attach();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    NextFrame();
    EXPECT_TRUE(Input().IsControllerButtonDown(SDL_CONTROLLER_BUTTON_A,
                                               Input().GetPlayerControllers().at(SDL_JoystickInstanceID(pad))));
}

// A key, a mouse button and a pad button, each as SDL hands it to the pump:
// its events queued, and SDL's own state where the manager reads one.
struct PressedThing {
    const char* name;
    std::function<void(bool down)> change;
    std::function<std::array<bool, 3>()> downTriggeredReleased;
};

TEST_F(Pads, EveryPressCountsInTheFrameWhosePumpTookIt)
{
    enum Between { Nothing, Tap, Press, LetGo, LetGoAndPress };
    struct Frame {
        Between between; // what the player does before this frame's pump
        std::array<bool, 3> downTriggeredReleased;
        bool heldBack = false; // the game holds back what is down after the pump
    };
    // A tap inside one pump reads as a one-frame press; a held press is seen
    // in the frame that pumped it. What is held back reads neither down nor
    // let go until it has been let go; pressed anew, even within the pump
    // that lets it go, it counts. A tap is over when the hold comes: the
    // next pump's press counts.
    const Frame frames[] = {
        {Tap, {true, true, false}},   {Nothing, {false, false, true}}, {Nothing, {false, false, false}},
        {Press, {true, true, false}}, {Nothing, {true, false, false}}, {LetGo, {false, false, true}},
        {Nothing, {false, false, false}},
        {Press, {false, false, false}, true}, {Nothing, {false, false, false}}, {LetGo, {false, false, false}},
        {Press, {true, true, false}}, {Nothing, {false, false, false}, true}, {LetGoAndPress, {true, true, false}},
        {LetGo, {false, false, true}}, {Tap, {false, false, false}, true}, {Nothing, {false, false, false}},
        {Tap, {false, false, false}, true}, {Press, {true, true, false}}, {LetGo, {false, false, true}},
    };

    SDL_Joystick* pad = Attach();
    const EntityHandle player(1);
    ASSERT_TRUE(Input().AssignController(player));
    constexpr auto kPadA = static_cast<std::uint8_t>(SDL_CONTROLLER_BUTTON_A);
    constexpr SDL_Scancode kKey = SDL_SCANCODE_J;
    Uint8* keys = const_cast<Uint8*>(SDL_GetKeyboardState(nullptr));
    auto pushKey = [&](bool down) {
        keys[kKey] = down ? 1 : 0;
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = kKey;
        SDL_PushEvent(&event);
    };
    std::uint32_t maskBeforePump = 0;
    std::uint32_t maskAfterPump = 0;
    std::array<int, 2> pointerAfterPump{};
    // SDL's mouse mask and pointer move as the pump takes the mouse's events;
    // the pointer starts in the top left corner.
    Engine::InputHost host;
    host.mouseState = [&](int* x, int* y) {
        const bool moving = SDL_HasEvent(SDL_MOUSEMOTION);
        *x = moving ? 0 : pointerAfterPump[0];
        *y = moving ? 0 : pointerAfterPump[1];
        return SDL_HasEvents(SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP) ? maskBeforePump : maskAfterPump;
    };
    Input().SetHost(host);
    auto pushClick = [&](bool down) {
        if (!SDL_HasEvents(SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP))
            maskBeforePump = maskAfterPump;
        maskAfterPump = down ? SDL_BUTTON_LMASK : 0;
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        SDL_PushEvent(&event);
    };

    const PressedThing things[] = {
        {"key", pushKey,
         [&] {
             return std::array{Input().IsKeyDown(kKey), Input().IsKeyTriggered(kKey), Input().IsKeyReleased(kKey)};
         }},
        {"left mouse button", pushClick,
         [&] { return std::array{Input().IsMouseDown(0), Input().IsMouseTriggered(0), Input().IsMouseReleased(0)}; }},
        {"pad button",
         [&](bool down) {
             SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, down ? 1 : 0);
             SDL_JoystickUpdate();
         },
         [&] {
             return std::array{Input().IsButtonDown(kPadA, player), Input().IsButtonTriggered(kPadA, player),
                               Input().IsButtonReleased(kPadA, player)};
         }},
    };
    for (const PressedThing& thing : things) {
        for (std::size_t i = 0; i < std::size(frames); ++i) {
            SCOPED_TRACE(testing::Message() << thing.name << ", frame " << i);
            Input().EndFrame();
            if (frames[i].between == Tap || frames[i].between == Press)
                thing.change(true);
            if (frames[i].between == Tap || frames[i].between == LetGo || frames[i].between == LetGoAndPress)
                thing.change(false);
            if (frames[i].between == LetGoAndPress)
                thing.change(true);
            Input().Update();
            if (frames[i].heldBack)
                Input().HoldBackUntilLetGo();
            EXPECT_EQ(thing.downTriggeredReleased(), frames[i].downTriggeredReleased) << "down, triggered, released";
        }
    }
    // So is the pointer: moved 30 pixels right and 40 down, it is there in
    // the frame that pumped the motion (y up; no window, so no centre).
    pointerAfterPump = {30, 40};
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = motion.motion.xrel = 30;
    motion.motion.y = motion.motion.yrel = 40;
    SDL_PushEvent(&motion);
    NextFrame();
    const glm::vec2 pointer = Input().UpdateMousePosition();
    EXPECT_EQ(std::make_pair(pointer.x, pointer.y), std::make_pair(30.0f, -40.0f));
    Input().SetHost({});
}

TEST_F(Pads, TwoPlayersOnePadAndQueriesNeverBind)
{
    EXPECT_FALSE(Input().AssignController(EntityHandle(1))); // nothing plugged in
    SDL_Joystick* pad = Attach();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    NextFrame();
    // Asking about an unbound player must not quietly hand it the pad.
    EXPECT_FALSE(Input().IsButtonDown(SDL_CONTROLLER_BUTTON_A, EntityHandle(3)));
    EXPECT_EQ(Input().GetPlayerCount(), 0);

    EXPECT_TRUE(Input().AssignController(EntityHandle(1)));
    EXPECT_FALSE(Input().AssignController(EntityHandle(2)));
    EXPECT_TRUE(Input().IsButtonDown(SDL_CONTROLLER_BUTTON_A, EntityHandle(1)));
    EXPECT_EQ(Input().GetPlayerCount(), 1);
    EXPECT_TRUE(Input().ReleaseController(EntityHandle(1)));
    EXPECT_TRUE(Input().AssignController(EntityHandle(2)));
}

TEST(Keyboard, KeysAndButtonsOutsideTheirRangeAreNeverPressed)
{
    Input().Init();
    // Bindings come from the user's file and may hold anything.
    for (std::int32_t code : {-1, -100000, static_cast<std::int32_t>(SDL_NUM_SCANCODES), 1 << 30}) {
        EXPECT_FALSE(Input().IsKeyDown(code));
        EXPECT_FALSE(Input().IsKeyTriggered(code));
        EXPECT_FALSE(Input().IsKeyReleased(code));
    }
    for (std::uint32_t button : {5u, 32u, 0xffffffffu})
        EXPECT_FALSE(Input().IsMouseDown(button) || Input().IsMouseTriggered(button) || Input().IsMouseReleased(button));
}

// Button numbers are 0 left, 1 right, 2 middle, 3 and 4 the extra buttons;
// SDL's mask has middle before right.
TEST(Mouse, EachButtonNumberFollowsItsOwnButton)
{
    Input().Init();
    std::uint32_t mask = 0;
    Engine::InputHost host;
    host.mouseState = [&mask](int* x, int* y) {
        *x = *y = 0;
        return mask;
    };
    Input().SetHost(host);
    const std::uint32_t masks[] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK, SDL_BUTTON_X1MASK,
                                   SDL_BUTTON_X2MASK};
    for (std::uint32_t held = 0; held < 5; ++held) {
        mask = masks[held];
        NextFrame();
        for (std::uint32_t button = 0; button < 5; ++button) {
            SCOPED_TRACE(testing::Message() << "holding " << held << ", asking " << button);
            EXPECT_EQ(Input().IsMouseDown(button), button == held);
            EXPECT_EQ(Input().IsMouseTriggered(button), button == held);
            EXPECT_EQ(Input().IsMouseReleased(button), held > 0 && button == held - 1);
        }
    }
}

// The frame's motion is all the mouse moved in its pump, and none in a pump
// without motion. A player made after Init turns by the motion it reads:
// none may be left from before.
TEST(Mouse, TheDeltaSumsThePumpsMotionAndInitForgetsItAndTheButtonsHeld)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    Input().Init();
    Engine::InputHost host;
    host.mouseState = [](int* x, int* y) {
        *x = *y = 0;
        return static_cast<std::uint32_t>(SDL_BUTTON_LMASK);
    };
    Input().SetHost(host);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 12;
    motion.motion.yrel = -5;
    SDL_PushEvent(&motion);
    SDL_PushEvent(&motion);
    NextFrame();
    ASSERT_EQ(Input().GetMouseDelta(), glm::vec2(24.0f, 10.0f));
    NextFrame();
    EXPECT_EQ(Input().GetMouseDelta(), glm::vec2(0.0f)) << "the mouse rests";
    ASSERT_FALSE(Input().IsMouseTriggered(0));

    // Held back, the motion is none until the mouse has been captured
    // through a whole pump: none over a menu, none in the capturing pump.
    SDL_PushEvent(&motion);
    NextFrame();
    Input().HoldBackUntilLetGo();
    EXPECT_EQ(Input().GetMouseDelta(), glm::vec2(0.0f));
    const std::pair<bool, glm::vec2> pumps[] = {{false, glm::vec2(0.0f)}, {true, glm::vec2(0.0f)}, {true, {12.0f, 5.0f}}};
    for (const auto& [captured, delta] : pumps) {
        Input().cursorVisible = !captured;
        SDL_PushEvent(&motion);
        NextFrame();
        EXPECT_EQ(Input().GetMouseDelta(), delta) << (captured ? "captured" : "free");
    }
    Input().cursorVisible = true;
    EXPECT_FALSE(Input().IsMouseDown(0)) << "held since the hold";

    SDL_PushEvent(&motion);
    NextFrame();
    Input().Init();
    EXPECT_EQ(Input().GetMouseDelta(), glm::vec2(0.0f));
    EXPECT_FALSE(Input().IsMouseDown(0));
    NextFrame();
    EXPECT_TRUE(Input().IsMouseTriggered(0)) << "a button held since before is pressed anew";
    Input().SetHost({});
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST(RawEvents, OnlyEventsThatNameTheMainWindowReachTheHandlers)
{
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("input", 0, 0, 64, 64, 0);
    Input().Init();
    Input().SetHost({window, {}, {}, {}, {}});
    NextFrame();
    std::vector<std::uint32_t> heard;
    auto token = Engine::SdlEventHandlerList::Add([&](Engine::SdlEventEnvelope* e) { heard.push_back(e->event.type); });

    const std::uint32_t id = SDL_GetWindowID(window);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = id;
    SDL_PushEvent(&key);
    key.key.windowID = id + 1;
    SDL_PushEvent(&key);
    // A controller event holds its pad id where window events hold the
    // window id; it must not be read as one.
    SDL_Event pad{};
    pad.type = SDL_CONTROLLERBUTTONDOWN;
    pad.cbutton.which = static_cast<SDL_JoystickID>(id);
    SDL_PushEvent(&pad);
    NextFrame();
    EXPECT_EQ(heard, (std::vector<std::uint32_t>{SDL_KEYDOWN}));
    Engine::SdlEventHandlerList::Remove(token);
    SDL_DestroyWindow(window);
}

} // namespace
