#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/ScaleOnHoverComp.h"
#include "engine/ui/SpriteRenderComp.h"
#include "engine/ui/TextComps.h"
#include "game/menus/MenuComps.h"
#include "game/menus/WidgetKit.h"

#include <gtest/gtest.h>

namespace {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

constexpr float kTolerance = 1e-4f;

std::vector<IElement*> Widgets(Canvas& parent, int n)
{
    std::vector<IElement*> made;
    for (int i = 0; i < n; ++i)
        made.push_back(parent.Make<Widget>());
    return made;
}

TEST(Spread, RowsAndColumnsShareTheExtentLeftByTheGap)
{
    struct Case {
        int n;
        float gap;
        bool vertical;
        std::vector<float> along;
        float extent;
    };
    const Case cases[] = {
        {3, 0.3f, true, {0.7667f, 0.0f, -0.7667f}, 0.2333f},
        {2, 0.5f, false, {-0.75f, 0.75f}, 0.25f},
        {5, 0.3f, true, {0.86f, 0.43f, 0.0f, -0.43f, -0.86f}, 0.14f},
        {1, 0.4f, true, {0.0f}, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + " at gap " + std::to_string(c.gap));
        Canvas parent;
        std::vector<IElement*> elements = Widgets(parent, c.n);
        elements[0]->anchor = glm::vec2(1.0f);
        elements[0]->SetSizeMode(IElement::kAbsolute);
        if (c.vertical)
            LayerCreator::SpreadVertically(elements, c.gap);
        else
            LayerCreator::SpreadHorizontally(elements, c.gap);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const IElement& e = *elements[i];
            const glm::vec2 position = c.vertical ? glm::vec2(0.0f, c.along[i]) : glm::vec2(c.along[i], 0.0f);
            EXPECT_NEAR(e.position.x, position.x, kTolerance);
            EXPECT_NEAR(e.position.y, position.y, kTolerance);
            const glm::vec2 size = c.vertical ? glm::vec2(1.0f, c.extent) : glm::vec2(c.extent, 1.0f);
            EXPECT_NEAR(e.relativeSize.x, size.x, kTolerance);
            EXPECT_NEAR(e.relativeSize.y, size.y, kTolerance);
            EXPECT_EQ(e.anchor, glm::vec2(0.0f));
            EXPECT_EQ(e.sizeMode, IElement::kRelative);
        }
    }
    LayerCreator::SpreadVertically({}, 0.3f);
}

TEST(TextStyles, TheStackTopSizesNewTextsAndPopsStopAtEmpty)
{
    Canvas parent;
    auto factor = [&] {
        return LayerCreator::MakeLocaleTextWidget(parent, 0, 0)->GetComp<Engine::UI::BaseTextComp>()->sizeFactor;
    };
    EXPECT_EQ(factor(), 0.8f);
    LayerCreator::PushTextStyle(0.6f);
    EXPECT_EQ(factor(), 0.6f);
    LayerCreator::PushTextStyle(0.9f);
    Widget* pure = LayerCreator::MakePureTextWidget(parent, u"1280 x 720", 0);
    EXPECT_EQ(pure->GetComp<Engine::UI::BaseTextComp>()->sizeFactor, 0.9f);
    LayerCreator::PopTextStyle(1);
    EXPECT_EQ(factor(), 0.6f);
    LayerCreator::PushTextStyle(0.7f);
    LayerCreator::PopTextStyle(5);
    EXPECT_EQ(LayerCreator::TextStyleDepth(), 0u);
    EXPECT_EQ(factor(), 0.8f);
}

TEST(MenuWidgets, FlagsAddTheirComponentsOnceAndTextsFollowTheWidth)
{
    Canvas parent;
    Widget* label = LayerCreator::MakeLocaleTextWidget(parent, 35, LayerCreator::kPlain);
    EXPECT_EQ(label->Components().size(), 1u);
    EXPECT_NEAR(label->relativeSize.x, 0.9f, kTolerance);
    EXPECT_NEAR(label->relativeSize.y, 0.125f, kTolerance);
    auto* text = label->GetComp<Engine::UI::LocaleTextComp>();
    EXPECT_EQ(text->key, 35u);
    EXPECT_EQ(text->sizeMode, Engine::UI::BaseTextComp::kFollowWidth);

    Widget* pure = LayerCreator::MakePureTextWidget(parent, u"10.0.0.2", LayerCreator::kInteractive);
    EXPECT_EQ(pure->GetComp<Engine::UI::PureTextComp>()->GetText(), u"10.0.0.2");
    auto* grow = pure->GetComp<Engine::UI::ScaleOnHoverComp>();
    ASSERT_NE(grow, nullptr);
    EXPECT_EQ(grow->targetScale, 1.05f);
    EXPECT_EQ(grow->duration, 0.075f);
    EXPECT_EQ(pure->GetComp<Engine::UI::SpriteRenderComp>(), nullptr);

    Widget* button = LayerCreator::MakeLocaleTextWidget(parent, 0, LayerCreator::kButton);
    LayerCreator::SetupMenuWidget(*button, LayerCreator::kButton);
    EXPECT_EQ(button->Components().size(), 4u) << "detector, scale, background and text, once each";
    EXPECT_EQ(button->GetComp<Engine::UI::SpriteRenderComp>()->colour, LayerCreator::kBackgroundColour);
    ASSERT_NE(button->GetComp<Engine::UI::DetectInteractionComp>(), nullptr);
}

TEST(MenuWidgets, BottomBarHoldsTwoButtonsOrAnEmptyPlace)
{
    Canvas root;
    root.SetRelativeSize(glm::vec2(1.0f));
    static int setups;
    setups = 0; // a repeated run counts its own
    const LayerCreator::BottomBar bar = LayerCreator::MakeBottomBar(
        root, nullptr, 16, [](Widget& button) { ++setups; }, 14);
    EXPECT_EQ(bar.bar->parent, &root);
    EXPECT_EQ(bar.bar->position, glm::vec2(0.0f, -0.9f));
    EXPECT_EQ(bar.bar->anchor, glm::vec2(0.0f, 1.0f));
    EXPECT_NEAR(bar.bar->relativeSize.x, 0.9f, kTolerance);
    EXPECT_NEAR(bar.bar->relativeSize.y, 0.1f, kTolerance);
    EXPECT_EQ(setups, 1);
    EXPECT_TRUE(bar.left->Components().empty());
    EXPECT_EQ(bar.right->GetComp<Engine::UI::LocaleTextComp>()->key, 14u);
    EXPECT_NEAR(bar.left->position.x, -0.75f, kTolerance);
    EXPECT_NEAR(bar.right->position.x, 0.75f, kTolerance);
    EXPECT_EQ(bar.bar->Children(), (std::vector<IElement*>{bar.left, bar.right}));
}

TEST(ShownValues, TextsFollowTheirVariableWithinTheFrame)
{
    Canvas parent;
    bool flag = false;
    Widget* onOff = LayerCreator::MakeLocaleTextWidget(parent, 32, 0);
    onOff->MakeComp<LayerCreator::DisplayVarAsTextComp<bool>>(&flag);
    auto* text = onOff->GetComp<Engine::UI::LocaleTextComp>();
    EXPECT_EQ(text->key, 13u);
    parent.Update();
    EXPECT_EQ(text->key, 13u);
    flag = true;
    parent.Update();
    EXPECT_EQ(text->key, 12u);

    glm::uvec2 size(1600, 900);
    Widget* resolution = LayerCreator::MakePureTextWidget(parent, u"", 0);
    resolution->MakeComp<LayerCreator::DisplayVarAsTextComp<glm::uvec2>>(&size);
    auto* pure = resolution->GetComp<Engine::UI::PureTextComp>();
    EXPECT_EQ(pure->GetText(), u"1600 x 900");
    size = glm::uvec2(3840, 2160);
    parent.Update();
    EXPECT_EQ(pure->GetText(), u"3840 x 2160");
}

} // namespace
