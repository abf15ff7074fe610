#include "FakeHost.h"
#include "TestButtons.h"
#include "engine/ui/FocusNavigation.h"

#include <gtest/gtest.h>
#include <limits>
#include <map>

namespace {

using Engine::UI::Canvas;
using Engine::UI::Layer;
using Engine::UI::LayerBuild;
using Engine::UI::LayerStack;
using Engine::UI::Widget;

constexpr int kRight = 79, kLeft = 80, kDown = 81, kUp = 82;
constexpr int kW = 26, kA = 4, kS = 22, kD = 7;
constexpr int kReturnKey = 40;

// Counts the layers alive, through a component in each root.
struct Alive : Engine::UI::IElemComp {
    explicit Alive(int& counter) : count(counter) { ++count; }
    ~Alive() override { --count; }
    int& count;
};

Engine::UI::LayerBuilder CountedLayer(int& alive)
{
    return TestLayer([&alive](Canvas& root) -> Engine::UI::IElement* {
        root.MakeComp<Alive>(alive);
        return nullptr;
    });
}

// Nine buttons on a 3 x 3 grid, the right column inside a canvas of its own.
struct Grid : ::testing::Test {
    void SetUp() override
    {
        layer = stack.Push(TestLayer([this](Canvas& root) {
                               auto* column = root.Make<Canvas>();
                               column->SetRelativeSize(glm::vec2(1.0f));
                               for (int row = 0; row < 3; ++row) {
                                   for (int col = 0; col < 3; ++col) {
                                       Canvas& parent = col == 2 ? *column : root;
                                       const glm::vec2 at(-0.6f + 0.6f * static_cast<float>(col),
                                                          0.6f - 0.6f * static_cast<float>(row));
                                       cells[row][col] = TestButton(parent, at);
                                   }
                               }
                               return cells[1][1];
                           }),
                           "Grid");
    }

    // Which cell holds the focus, as "row,col".
    std::string Focused() const
    {
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (layer->focused == DetectorOf(cells[row][col]))
                    return std::to_string(row) + "," + std::to_string(col);
            }
        }
        return "none";
    }

    FakeHost host;
    LayerStack stack;
    Layer* layer = nullptr;
    Widget* cells[3][3] = {};
};

TEST_F(Grid, DirectionsMoveTheFocusToTheNearestButtonThatWay)
{
    struct Move {
        std::vector<int> keys;
        const char* from;
        const char* to;
    };
    const Move moves[] = {
        {{kRight}, "1,1", "1,2"}, {{kD}, "1,1", "1,2"},      {{kUp}, "1,1", "0,1"},
        {{kS}, "1,1", "2,1"},     {{kLeft}, "1,1", "1,0"},
        // Nothing lies further that way: the focus stays.
        {{kRight}, "1,2", "1,2"}, {{kUp}, "0,1", "0,1"},
        // Opposite directions cancel; what is left still counts.
        {{kLeft, kRight}, "1,1", "1,1"}, {{kW, kS, kRight}, "1,1", "1,2"},
        // Out of the column's canvas and back into it.
        {{kLeft}, "0,2", "0,1"},  {{kRight}, "2,1", "2,2"},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(std::string(move.from) + " -> " + move.to);
        const int row = move.from[0] - '0';
        const int col = move.from[2] - '0';
        LayerStack::SetFocus(layer, DetectorOf(cells[row][col]));
        host.keys.insert(move.keys.begin(), move.keys.end());
        host.Frame(stack);
        host.keys.clear();
        host.Frame(stack);
        EXPECT_EQ(Focused(), move.to);
    }
}

TEST_F(Grid, WidgetsWithoutAHoverScaleAreNotReachedByDirection)
{
    // The plain widget between the focus and the right column is skipped.
    auto* plain = layer->root->Make<Widget>();
    plain->SetRelativeSize(glm::vec2(0.1f, 0.05f));
    plain->position = glm::vec2(0.3f, 0.0f);
    plain->MakeComp<Engine::UI::DetectInteractionComp>();
    host.keys.insert(kRight);
    host.Frame(stack);
    EXPECT_EQ(Focused(), "1,2");
}

TEST(FocusRhythm, HoldingMovesAtOnceThenAfterHalfASecondThenEveryFewFrames)
{
    FakeHost host;
    host.dt = 1.0f / 64.0f;
    LayerStack stack;
    std::vector<Widget*> row;
    Layer* layer = stack.Push(TestLayer([&](Canvas& root) {
                                  for (int i = 0; i < 12; ++i) {
                                      const glm::vec2 at(-0.88f + 0.16f * static_cast<float>(i), 0.0f);
                                      row.push_back(TestButton(root, at, glm::vec2(0.05f)));
                                  }
                                  return row[0];
                              }),
                              "Row");
    auto index = [&] {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (layer->focused == DetectorOf(row[i]))
                return static_cast<int>(i);
        }
        return -1;
    };
    host.keys.insert(kRight);
    std::vector<int> moveFrames;
    for (int frame = 0; frame < 48; ++frame) {
        const int before = index();
        host.Frame(stack);
        if (index() != before)
            moveFrames.push_back(frame);
    }
    // At 64 frames a second: at once, after 0.5 s, then on the first frame
    // at or past each 0.075 s.
    EXPECT_EQ(moveFrames, (std::vector<int>{0, 32, 37, 42, 47}));
    EXPECT_EQ(layer->repeatCount, 5);

    // Letting go resets the rhythm: the next press moves at once again.
    host.keys.clear();
    host.Frame(stack);
    EXPECT_EQ(layer->repeatCount, 0);
    host.keys.insert(kLeft);
    const int before = index();
    host.Frame(stack);
    EXPECT_EQ(index(), before - 1);
}

TEST(FocusSearch, ANearButtonBeatsAFarOneStraightAhead)
{
    FakeHost host;
    LayerStack stack;
    Widget* near = nullptr;
    Layer* layer = stack.Push(TestLayer([&](Canvas& root) {
                                  Widget* start = TestButton(root, glm::vec2(-0.9f), glm::vec2(0.02f));
                                  TestButton(root, glm::vec2(0.9f), glm::vec2(0.02f));
                                  near = TestButton(root, glm::vec2(-0.5f), glm::vec2(0.02f));
                                  return start;
                              }),
                              "Diagonal");
    host.keys = {kUp, kRight};
    host.Frame(stack);
    EXPECT_EQ(layer->focused, DetectorOf(near));
}

TEST(FocusSearch, AButtonLevelWithTheFocusIsNeitherBelowNorAbove)
{
    // The sector's bounds are the rounded half turns 3.1415 and 6.283: a
    // button straight to the left lay just inside "down", and a near one
    // won over the button really below.
    FakeHost host;
    LayerStack stack;
    Widget* below = nullptr;
    Widget* above = nullptr;
    Layer* layer = stack.Push(TestLayer([&](Canvas& root) {
                                  Widget* start = TestButton(root, glm::vec2(0.0f));
                                  TestButton(root, glm::vec2(-0.3f, 0.0f));
                                  TestButton(root, glm::vec2(0.3f, 0.0f));
                                  below = TestButton(root, glm::vec2(0.0f, -0.6f));
                                  above = TestButton(root, glm::vec2(0.0f, 0.6f));
                                  return start;
                              }),
                              "Row");
    Widget* start = static_cast<Widget*>(layer->root->Children()[0]);
    for (auto [key, expected] : {std::pair{kDown, below}, std::pair{kUp, above}}) {
        LayerStack::SetFocus(layer, DetectorOf(start));
        host.keys = {key};
        host.Frame(stack);
        host.keys.clear();
        host.Frame(stack);
        EXPECT_EQ(layer->focused, DetectorOf(expected)) << (key == kDown ? "down" : "up");
    }
    EXPECT_TRUE(Engine::UI::InSector(glm::vec2(0.0f, -1.0f), 3.1415f, 6.283f));
    EXPECT_FALSE(Engine::UI::InSector(glm::vec2(-1.0f, 0.0f), 3.1415f, 6.283f));
    EXPECT_FALSE(Engine::UI::InSector(glm::vec2(1.0f, 0.0f), 3.1415f, 6.283f));
    EXPECT_TRUE(Engine::UI::InSector(glm::vec2(-1.0f, -0.01f), 3.1415f, 6.283f));
}

TEST(DirectionMask, KeysPadsAndSticksWithOppositesCancelling)
{
    FakeHost host;
    struct Case {
        const char* what;
        std::set<int> keys;
        std::set<std::uint8_t> padButtons;
        glm::vec2 stick;
        std::uint8_t mask;
    };
    const Case cases[] = {
        {"nothing", {}, {}, {0.0f, 0.0f}, 0},
        {"arrows", {kUp, kLeft}, {}, {0.0f, 0.0f}, Engine::UI::kUp | Engine::UI::kLeft},
        {"letters", {kS, kD}, {}, {0.0f, 0.0f}, Engine::UI::kDown | Engine::UI::kRight},
        {"pad", {}, {11, 14}, {0.0f, 0.0f}, Engine::UI::kUp | Engine::UI::kRight},
        {"pad down left", {}, {12, 13}, {0.0f, 0.0f}, Engine::UI::kDown | Engine::UI::kLeft},
        {"stick at 0.4", {}, {}, {0.0f, 0.4f}, 0},
        {"stick up", {}, {}, {0.0f, 0.6f}, Engine::UI::kUp},
        {"stick left", {}, {}, {-0.6f, 0.1f}, Engine::UI::kLeft},
        {"stick down right, nearer down", {}, {}, {0.3f, -0.6f}, Engine::UI::kDown},
        {"up and down", {kUp, kS}, {}, {0.0f, 0.0f}, 0},
        {"left key, right stick", {kA}, {}, {0.7f, 0.0f}, 0},
        {"all four and a stick", {kUp, kDown, kLeft, kRight}, {}, {0.0f, 0.9f}, 0},
    };
    host.pads.resize(1);
    for (const Case& c : cases) {
        host.keys = c.keys;
        host.pads[0].down = c.padButtons;
        host.pads[0].stick = c.stick;
        EXPECT_EQ(Engine::UI::ReadDirectionMask(host), c.mask) << c.what;
    }
}

TEST(Stack, FindsPopsAndDestroysByNameFromTheTop)
{
    FakeHost host;
    LayerStack stack;
    int alive = 0;
    for (const char* name : {"Title", "Options", "Options", "Pause", "Confirm"})
        stack.Push(CountedLayer(alive), name);
    ASSERT_EQ(alive, 5);
    Layer* upper = stack.Find("Options");
    EXPECT_EQ(stack.IndexFromTop(upper), 2);
    EXPECT_EQ(stack.GetFromTop(2), upper);
    EXPECT_EQ(stack.Find("Missing"), nullptr);
    EXPECT_EQ(stack.IndexFromTop(nullptr), -1);
    EXPECT_EQ(stack.GetFromTop(5), nullptr);

    stack.PopN(stack.IndexFromTop(stack.Find("Missing")));
    EXPECT_EQ(stack.Size(), 5u) << "a name not found pops nothing";
    stack.PopN(stack.IndexFromTop(stack.Find("Pause")));
    EXPECT_EQ(stack.Size(), 3u);
    EXPECT_EQ(alive, 3) << "popped layers are destroyed";
    EXPECT_TRUE(stack.IsTop(upper));
    // "Every layer" as the largest count: the walk stops at the bottom
    // instead of counting on past it.
    stack.Update(std::numeric_limits<int>::max());
    stack.RenderTop(std::numeric_limits<int>::max());
    EXPECT_EQ(alive, 3);
    stack.PopN(10);
    EXPECT_EQ(alive, 0);
    stack.Pop();
    EXPECT_EQ(stack.Size(), 0u);
}

TEST(Stack, APushAndAPopAskedInOneFrameReplaceTheButtonsLayer)
{
    FakeHost host;
    LayerStack stack;
    int alive = 0;
    stack.Push(CountedLayer(alive), "Below");
    stack.Push(TestLayer([&](Canvas& root) {
                   root.MakeComp<Alive>(alive);
                   Widget* button = TestButton(root, glm::vec2(0.0f));
                   button->MakeComp<Engine::UI::PopLayerOnInteractComp>();
                   button->MakeComp<Engine::UI::CreateLayerOnInteractComp>(CountedLayer(alive), "Next");
                   return button;
               }),
               "Menu");
    // A later request replaces an earlier one.
    stack.RequestPush(CountedLayer(alive), "Ignored");
    stack.RequestPush(CountedLayer(alive), "Replacing");
    host.Frame(stack);
    EXPECT_EQ(stack.Top()->name, "Replacing");
    EXPECT_EQ(stack.Size(), 3u);
    stack.Pop();

    // Activated in one frame; the button's components act in the next.
    host.keys.insert(kReturnKey);
    host.Frame(stack);
    EXPECT_EQ(stack.Top()->name, "Menu");
    host.keys.clear();
    host.Frame(stack);
    ASSERT_EQ(stack.Size(), 2u);
    EXPECT_EQ(stack.Top()->name, "Next");
    EXPECT_EQ(stack.GetFromTop(1)->name, "Below");
    EXPECT_EQ(alive, 2);
}

// A button that opens a layer at once, as the tutorial list does, and one
// that closes its own layer at once.
LayerStack* gStackForActions = nullptr;
int gAliveForActions = 0;

void PushAtOnce(std::uintptr_t, Engine::UI::RunActionOnInteractComp&)
{
    for (int i = 0; i < 8; ++i)
        gStackForActions->Push(CountedLayer(gAliveForActions), "Overlay");
}

void PopAtOnce(std::uintptr_t, Engine::UI::RunActionOnInteractComp&) { gStackForActions->Pop(); }

TEST(Stack, ButtonsMayPushOrPopAtOnceWhileTheStackWalksThem)
{
    FakeHost host;
    LayerStack stack;
    gStackForActions = &stack;
    for (auto action : {&PushAtOnce, &PopAtOnce}) {
        stack.Clear();
        Widget* button = nullptr;
        stack.Push(TestLayer([&](Canvas& root) {
                       button = TestButton(root, glm::vec2(0.0f));
                       button->MakeComp<Engine::UI::RunActionOnInteractComp>(action);
                       // A second action on the same button is refused.
                       EXPECT_EQ(button->MakeComp<Engine::UI::RunActionOnInteractComp>(&PopAtOnce), nullptr);
                       TestButton(root, glm::vec2(0.5f));
                       return button;
                   }),
                   "Menu");
        host.keys.insert(kReturnKey);
        host.Frame(stack);
        host.keys.clear();
        host.Frame(stack);
        if (action == &PushAtOnce) {
            EXPECT_EQ(stack.Size(), 9u);
            EXPECT_EQ(stack.Top()->name, "Overlay");
        } else {
            EXPECT_EQ(stack.Size(), 0u);
        }
    }
    stack.Clear();
    EXPECT_EQ(gAliveForActions, 0);
}

} // namespace
