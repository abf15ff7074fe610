#include "FakeHost.h"
#include "TestButtons.h"
#include "engine/audio/MasterVolume.h"
#include "engine/audio/RecordingSoundSystem.h"
#include "engine/ui/MenuSounds.h"

#include <gtest/gtest.h>

namespace {

using Engine::UI::Canvas;
using Engine::UI::DetectInteractionComp;
using Engine::UI::IElement;
using Engine::UI::Layer;
using Engine::UI::LayerStack;
using Engine::UI::Widget;

constexpr int kReturn = 40;
constexpr int kSpace = 44;

// One layer with one button in the middle and one at the top right.
struct OneLayer : ::testing::Test {
    void SetUp() override
    {
        layer = stack.Push(TestLayer([this](Canvas& root) {
                               middle = TestButton(root, glm::vec2(0.0f), glm::vec2(0.2f, 0.1f));
                               corner = TestButton(root, glm::vec2(0.7f, 0.7f));
                               CountActivations(*middle, runs);
                               return middle;
                           }),
                           "Test");
        host.Frame(stack);
    }

    FakeHost host;
    LayerStack stack;
    Layer* layer = nullptr;
    Widget* middle = nullptr;
    Widget* corner = nullptr;
    int runs = 0;
};

TEST_F(OneLayer, OnlyClicksInsideTheFocusedButtonOrReturnSpaceAndPadAActivate)
{
    struct Press {
        const char* what;
        glm::vec2 mouse;
        int key;
        int mouseButton;
        int padButton;
        bool activates;
    };
    const Press presses[] = {
        {"click outside", {0.5f, -0.5f}, -1, 0, -1, false},
        {"right click inside", {0.1f, 0.05f}, -1, 1, -1, false},
        {"click inside", {0.1f, 0.05f}, -1, 0, -1, true},
        {"Return far away", {-0.9f, -0.9f}, kReturn, -1, -1, true},
        {"Space", {-0.9f, -0.9f}, kSpace, -1, -1, true},
        {"pad A", {-0.9f, -0.9f}, -1, -1, 0, true},
        {"pad B", {-0.9f, -0.9f}, -1, -1, 1, false},
    };
    host.pads.resize(1);
    for (const Press& press : presses) {
        SCOPED_TRACE(press.what);
        // The pointer rests where it already was: it must not steal focus.
        host.mouse = host.mouseBefore = press.mouse * host.window * 0.5f;
        if (press.key >= 0)
            host.keys.insert(press.key);
        if (press.mouseButton >= 0)
            host.buttons.insert(press.mouseButton);
        if (press.padButton >= 0)
            host.pads[0].down.insert(static_cast<std::uint8_t>(press.padButton));
        const int before = runs;
        host.Frame(stack);
        EXPECT_EQ(DetectorOf(middle)->activated, press.activates ? 1 : 0);
        // The action reads the flag in the next frame's tree update.
        host.keys.clear();
        host.buttons.clear();
        host.pads[0].down.clear();
        host.Frame(stack);
        EXPECT_EQ(runs - before, press.activates ? 1 : 0);
        EXPECT_EQ(DetectorOf(middle)->activated, 0);
        const bool letGo = press.mouseButton == 0 || press.key >= 0 || press.padButton == 0;
        EXPECT_EQ(DetectorOf(middle)->released, letGo ? 1 : 0) << "letting go is reported";
    }
}

TEST_F(OneLayer, PointerFocusesWhatItMovesOntoAndTheTextTakesTheHighlight)
{
    auto* cornerText = corner->GetComp<Engine::UI::BaseTextComp>();
    auto* middleText = middle->GetComp<Engine::UI::BaseTextComp>();
    cornerText->colour = glm::vec4(0.2f, 0.3f, 0.4f, 1.0f);
    EXPECT_EQ(middleText->colour, DetectInteractionComp::kHighlight);

    host.MouseAt(corner->GetAnchorPoint());
    host.Frame(stack);
    EXPECT_EQ(layer->focused, DetectorOf(corner));
    EXPECT_EQ(cornerText->colour, DetectInteractionComp::kHighlight);
    EXPECT_EQ(middleText->colour, glm::vec4(1.0f)) << "back to its own colour";

    // A resting pointer over the other button changes nothing.
    host.MouseAt(middle->GetAnchorPoint());
    host.mouseBefore = host.mouse;
    host.Frame(stack);
    EXPECT_EQ(layer->focused, DetectorOf(corner));

    host.MouseAt(middle->GetAnchorPoint() + glm::vec2(0.01f));
    host.Frame(stack);
    EXPECT_EQ(layer->focused, DetectorOf(middle));
    EXPECT_EQ(cornerText->colour, glm::vec4(0.2f, 0.3f, 0.4f, 1.0f));
}

TEST_F(OneLayer, ButtonsOfALowerLayerNeitherTakeFocusNorActivate)
{
    int upperRuns = 0;
    Widget* upper = nullptr;
    Layer* top = stack.Push(TestLayer([&](Canvas& root) {
                                upper = TestButton(root, glm::vec2(-0.7f, -0.7f));
                                CountActivations(*upper, upperRuns);
                                return upper;
                            }),
                            "Top");
    stack.Update(1);
    host.MouseAt(middle->GetAnchorPoint());
    host.keys.insert(kReturn);
    stack.ReadMouse();
    stack.Update(1);
    host.NextFrame();
    host.keys.clear();
    stack.Update(1);
    EXPECT_EQ(layer->focused, DetectorOf(middle)) << "kept, but not live";
    EXPECT_EQ(top->focused, DetectorOf(upper));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(upperRuns, 1);
    EXPECT_EQ(DetectorOf(middle)->activated, 0);
}

TEST_F(OneLayer, ScaleFollowsTheFocusOverItsDuration)
{
    auto* grow = middle->GetComp<Engine::UI::ScaleOnHoverComp>();
    grow->targetScale = 1.1f;
    grow->duration = 0.2f;
    host.dt = 0.01f;
    auto framesUntil = [&](auto done) {
        int frames = 0;
        while (!done() && frames < 100) {
            host.Frame(stack);
            ++frames;
        }
        return frames;
    };
    const int growing = framesUntil([&] { return middle->scale >= 1.1f - 1e-4f; });
    EXPECT_NEAR(growing * host.dt, 0.2f, 0.03f);
    EXPECT_NEAR(middle->normalisedSize.x, 0.2f * 1.1f, 1e-4f);
    // Stays grown while focused.
    for (int i = 0; i < 10; ++i)
        host.Frame(stack);
    EXPECT_NEAR(middle->scale, 1.1f, 1e-4f);

    Engine::UI::LayerStack::SetFocus(layer, DetectorOf(corner));
    const int shrinking = framesUntil([&] { return middle->scale <= 1.0f + 1e-4f; });
    EXPECT_NEAR(shrinking * host.dt, 0.2f, 0.03f);
    for (int i = 0; i < 10; ++i)
        host.Frame(stack);
    EXPECT_EQ(grow->state, Engine::UI::ScaleOnHoverComp::kRest);
    EXPECT_NEAR(middle->scale, 1.0f, 1e-4f);
}

TEST_F(OneLayer, DestroyingTheFocusedButtonLeavesNoFocusEvenWithItsTextGone)
{
    // The text comes first here, so it dies before the detector does.
    auto* holder = layer->root->Make<Canvas>();
    auto* button = holder->Make<Widget>();
    button->MakeComp<Engine::UI::PureTextComp>();
    button->MakeComp<DetectInteractionComp>();
    LayerStack::SetFocus(layer, DetectorOf(button));
    holder->ClearChildren();
    EXPECT_EQ(layer->focused, nullptr);

    // A focused button taken out of the tree gives the focus up first.
    LayerStack::SetFocus(layer, DetectorOf(corner));
    std::unique_ptr<IElement> taken = layer->root->RemoveChild(corner);
    EXPECT_EQ(layer->focused, nullptr);
    taken.reset();
    host.keys.insert(kReturn);
    host.Frame(stack);
}

TEST(MenuSoundsTest, ClicksAndHoversPlayAtTheirShareOfTheEffectsVolume)
{
    FakeHost host;
    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    Engine::UI::MenuSounds::Make();
    // The ring goes on from where earlier menus of the process left it.
    const int first = Engine::UI::MenuSounds::HoverCounter();
    LayerStack stack;
    std::vector<Widget*> buttons;
    stack.Push(TestLayer([&](Canvas& root) {
                   for (int i = 0; i < 3; ++i)
                       buttons.push_back(TestButton(root, glm::vec2(-0.5f + 0.5f * static_cast<float>(i), 0.0f)));
                   return buttons[0];
               }),
               "Sounds");
    // The first focus was the first hover; five more go round the ring.
    host.MouseAt(glm::vec2(-0.9f));
    host.NextFrame();
    for (int i = 1; i <= 5; ++i) {
        host.MouseAt(buttons[static_cast<std::size_t>(i % 3)]->GetAnchorPoint());
        host.Frame(stack);
    }
    const std::vector<std::string> hovers = audio.CallsStartingWith("Play HoveringOnMenu");
    ASSERT_EQ(hovers.size(), 6u) << testing::PrintToString(audio.calls);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(hovers[static_cast<std::size_t>(i)],
                  "Play HoveringOnMenu" + std::to_string((first - 1 + i) % 5 + 1) + " loop=0 overlap=0");
    EXPECT_EQ(hovers[5], hovers[0]) << "the sixth plays the first again";

    Engine::MasterVolume::sfx = 0.5f;
    host.keys.insert(kReturn);
    host.Frame(stack);
    const auto click = audio.CallsStartingWith("Play data/Sounds/Sfx/OnClickMenu2.wav");
    ASSERT_EQ(click.size(), 1u);
    EXPECT_EQ(audio.calls.back(), "SetVolume data/Sounds/Sfx/OnClickMenu2.wav 0.3");
    EXPECT_EQ(audio.CallsStartingWith("SetVolume HoveringOnMenu1").front(), "SetVolume HoveringOnMenu1 0.2");
}

} // namespace
