#include "FakeHost.h"
#include "engine/ui/Element.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

constexpr float kTolerance = 1e-4f;

void ExpectNear(const glm::vec2& actual, const glm::vec2& expected)
{
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
}

// Writes what it was asked to do, and that it died, into a shared log.
struct LoggingComp : Engine::UI::IElemComp {
    LoggingComp(std::vector<std::string>& sink, std::string tag) : log(sink), name(std::move(tag)) {}
    ~LoggingComp() override { log.push_back(name + " gone"); }
    void Init() override { log.push_back(name + " init"); }
    void Update() override { log.push_back(name + " update"); }
    void Render() override { log.push_back(name + " render"); }
    std::vector<std::string>& log;
    std::string name;
};

struct Tree : ::testing::Test {
    FakeHost host;
};

TEST_F(Tree, LayoutsInWindowCoordinates)
{
    host.window = glm::vec2(1600.0f, 900.0f);
    Canvas root;
    root.SetRelativeSize(glm::vec2(1.0f));
    ExpectNear(root.normalisedSize, glm::vec2(1.0f));
    ExpectNear(root.absoluteSize, glm::vec2(1600.0f, 900.0f));

    auto* child = root.Make<Widget>();
    child->SetRelativeSize(glm::vec2(0.5f, 0.25f));
    child->position = glm::vec2(0.25f, 0.5f);
    ExpectNear(child->GetAnchorPoint(), glm::vec2(0.25f, 0.5f));
    EXPECT_TRUE(child->Contains(glm::vec2(-0.25f, 0.25f)));
    EXPECT_TRUE(child->Contains(glm::vec2(0.75f, 0.75f)));
    EXPECT_FALSE(child->Contains(glm::vec2(-0.26f, 0.5f)));
    EXPECT_FALSE(child->Contains(glm::vec2(0.25f, 0.76f)));

    // A grandchild hangs from its parent's anchor point, in the parent's
    // half-sizes.
    child->anchor = glm::vec2(1.0f, 0.0f);
    auto* inner = new Widget();
    auto* holder = root.Make<Canvas>();
    holder->SetRelativeSize(glm::vec2(0.5f));
    holder->anchor = glm::vec2(-1.0f, 0.0f);
    holder->AddChild(inner);
    inner->position = glm::vec2(1.0f, 0.0f);
    ExpectNear(inner->GetScreenPosition(), glm::vec2(0.0f, 0.0f));

    child->SetRelativeSize(glm::vec2(-0.5f, 3.0f));
    ExpectNear(child->relativeSize, glm::vec2(0.5f, 1.0f));
    child->SetRelativeSize(0.2f, 1);
    child->SetRelativeSize(-0.3f, 0);
    ExpectNear(child->relativeSize, glm::vec2(0.3f, 0.2f));
    child->SetScale(5.0f);
    EXPECT_EQ(child->scale, 2.0f);
    ExpectNear(child->normalisedSize, glm::vec2(0.6f, 0.4f));
    child->SetScale(-1.0f);
    EXPECT_EQ(child->scale, 0.0f);
}

TEST_F(Tree, AbsoluteSizeKeepsItsPixelsAndSwitchingBackKeepsTheSize)
{
    Canvas root;
    root.SetRelativeSize(glm::vec2(1.0f));
    auto* panel = root.Make<Canvas>();
    panel->SetRelativeSize(glm::vec2(0.5f));
    panel->absoluteSize = glm::vec2(200.0f, 100.0f);
    panel->SetSizeMode(IElement::kAbsolute);
    panel->Layout();
    ExpectNear(panel->normalisedSize, glm::vec2(0.125f, 0.111111f));
    ExpectNear(panel->relativeSize, glm::vec2(0.125f, 0.111111f));

    // A wider window keeps the pixels, so the panel's share shrinks.
    host.window = glm::vec2(3200.0f, 900.0f);
    root.Layout();
    ExpectNear(panel->normalisedSize, glm::vec2(0.0625f, 0.111111f));
    panel->SetSizeMode(IElement::kRelative);
    panel->Layout();
    ExpectNear(panel->absoluteSize, glm::vec2(200.0f, 100.0f));
}

TEST_F(Tree, EmptyWindowsAndParentsGiveSizeZeroNeverNaN)
{
    host.window = glm::vec2(0.0f);
    Canvas root;
    root.SetRelativeSize(glm::vec2(1.0f));
    auto* empty = root.Make<Canvas>();
    empty->SetRelativeSize(glm::vec2(0.0f));
    auto* child = empty->Make<Widget>();
    child->absoluteSize = glm::vec2(50.0f);
    child->SetSizeMode(IElement::kAbsolute);
    root.Layout();
    for (const IElement* element : {static_cast<const IElement*>(&root), static_cast<const IElement*>(empty),
                                    static_cast<const IElement*>(child)}) {
        for (float value : {element->normalisedSize.x, element->normalisedSize.y, element->relativeSize.x,
                            element->relativeSize.y})
            EXPECT_FALSE(std::isnan(value) || std::isinf(value));
    }
    EXPECT_EQ(root.absoluteSize, glm::vec2(0.0f));
    EXPECT_EQ(empty->normalisedSize, glm::vec2(0.0f));
    EXPECT_EQ(child->normalisedSize, glm::vec2(0.0f));
    host.window = glm::vec2(1000.0f, 500.0f);
    empty->SetRelativeSize(glm::vec2(0.5f));
    ExpectNear(child->normalisedSize, glm::vec2(0.05f, 0.1f));
}

TEST_F(Tree, ChildrenAreOwnedOnceAndGivenBack)
{
    Canvas root;
    auto* first = root.Make<Widget>();
    auto* second = root.Make<Widget>();
    root.AddChild(first);
    ASSERT_EQ(root.Children().size(), 2u);

    std::unique_ptr<IElement> taken = root.RemoveChild(first);
    EXPECT_EQ(taken.get(), first);
    EXPECT_EQ(first->parent, nullptr);
    EXPECT_EQ(root.Children(), std::vector<IElement*>{second});
    EXPECT_EQ(root.RemoveChild(first), nullptr);

    // Moving an element to another canvas takes it from the first.
    auto* other = root.Make<Canvas>();
    other->AddChild(second);
    EXPECT_EQ(root.Children(), std::vector<IElement*>{other});
    EXPECT_EQ(second->parent, other);
}

TEST_F(Tree, ComponentsRunInOrderAndDieWithTheirElement)
{
    std::vector<std::string> log;
    {
        Canvas root;
        root.MakeComp<LoggingComp>(log, "root");
        auto* widget = root.Make<Widget>();
        widget->MakeComp<LoggingComp>(log, "a");
        // A second component of the same class is refused and destroyed.
        EXPECT_EQ(widget->MakeComp<LoggingComp>(log, "refused"), nullptr);
        auto* inner = root.Make<Canvas>();
        inner->MakeComp<LoggingComp>(log, "inner");
        inner->Make<Widget>()->MakeComp<LoggingComp>(log, "b");
        EXPECT_EQ(root.GetComp<Engine::UI::IElemComp>(), root.Components()[0].get());

        log.clear();
        root.Update();
        root.Render();
        // A canvas updates its children, not its own components; it draws
        // its own first, then its children.
        EXPECT_EQ(log, (std::vector<std::string>{"a update", "b update", "root render", "a render", "inner render",
                                                 "b render"}));
        log.clear();
        inner->ClearChildren();
        EXPECT_EQ(log, (std::vector<std::string>{"b gone", "inner gone"}));
        EXPECT_TRUE(inner->Children().empty());
        log.clear();
    }
    // Children before the canvas's own components.
    EXPECT_EQ(log, (std::vector<std::string>{"a gone", "root gone"}));
}

TEST_F(Tree, RefusedDuplicateIsFreedAtOnce)
{
    std::vector<std::string> log;
    Widget widget;
    widget.MakeComp<LoggingComp>(log, "kept");
    widget.AddComp(std::make_unique<LoggingComp>(log, "second"));
    EXPECT_EQ(log, (std::vector<std::string>{"kept init", "second gone"}));
    EXPECT_EQ(widget.Components().size(), 1u);
}

} // namespace
