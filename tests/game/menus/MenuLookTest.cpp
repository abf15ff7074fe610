#include "engine/render/GlTestWindow.h"
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/FakeHost.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/SpriteRenderComp.h"
#include "engine/ui/TextComps.h"
#include "game/config/GameText.h"
#include "game/menus/WidgetKit.h"

#include <gtest/gtest.h>
#include <map>

namespace {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::LayerStack;
using Engine::UI::Widget;

// Text ids of the sample page: "Options", three buttons and a volume row.
constexpr std::uint32_t kTitle = 2;
constexpr std::uint32_t kButtons[] = {74, 70, 9};
constexpr std::uint32_t kMusicVolume = 69;
constexpr int kSteps = 21;
constexpr glm::vec4 kLitStep{0.2f, 1.0f, 1.0f, 1.0f};
constexpr glm::vec4 kDarkStep{0.5f, 0.5f, 0.5f, 1.0f};

struct Box {
    int left, bottom, right, top;
};

// An element's box in window pixels, from the lower left.
Box PixelBox(const IElement& element, const glm::vec2& window)
{
    const glm::vec2 a = element.GetAnchorPoint();
    const glm::vec2 s = element.normalisedSize;
    auto x = [&](float ndc) { return static_cast<int>((ndc + 1.0f) * 0.5f * window.x); };
    auto y = [&](float ndc) { return static_cast<int>((ndc + 1.0f) * 0.5f * window.y); };
    return {x(a.x - s.x), y(a.y - s.y), x(a.x + s.x), y(a.y + s.y)};
}

// Pixels of the box that pass the test.
template <class Test>
int CountPixels(const Box& box, Test test)
{
    const int w = box.right - box.left;
    const int h = box.top - box.bottom;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w * h * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(box.left, box.bottom, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    int count = 0;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        count += test(rgb[i], rgb[i + 1], rgb[i + 2]) ? 1 : 0;
    return count;
}

bool White(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool Gold(int r, int g, int b) { return r > 200 && g > 150 && g < 235 && b < 80; }

// A sample page built with the menu kit the way the game's pages are: a
// dark panel, a title, three buttons, and a labelled volume slider.
struct MenuLook : ::testing::Test {
    void SetUp() override
    {
        testing::internal::CaptureStdout();
        OpenTestWindow();
        Engine::Renderer& renderer = Engine::Renderer::GetInstance();
        renderer.LoadSplashResources();
        renderer.LoadResources();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(GameText::Load("data/all_text"));
        host.window = glm::vec2(1280.0f, 720.0f);
        host.MouseAt(glm::vec2(-0.95f));
        host.NextFrame();
        stack.Push([this](Engine::UI::LayerBuild& build) { Build(build); }, "Sample");
    }

    void Build(Engine::UI::LayerBuild& build)
    {
        build.root = std::make_unique<Canvas>();
        build.root->SetRelativeSize(glm::vec2(1.0f));
        auto* panel = build.root->Make<Canvas>();
        panel->SetRelativeSize(glm::vec2(0.6f, 0.8f));
        LayerCreator::AddSprite(*panel, LayerCreator::kBackgroundColour);

        title = LayerCreator::MakeLocaleTextWidget(*panel, kTitle, LayerCreator::kPlain);
        title->SetRelativeSize(glm::vec2(1.0f, 0.18f));
        title->position = glm::vec2(0.0f, 0.76f);

        auto* list = panel->Make<Canvas>();
        list->SetRelativeSize(glm::vec2(0.55f, 0.5f));
        list->position = glm::vec2(0.0f, 0.05f);
        std::vector<IElement*> rows;
        for (std::uint32_t id : kButtons) {
            buttons.push_back(LayerCreator::MakeLocaleTextWidget(*list, id, LayerCreator::kButton));
            rows.push_back(buttons.back());
        }
        LayerCreator::SpreadVertically(rows, 0.3f);

        auto* volume = panel->Make<Canvas>();
        volume->SetRelativeSize(glm::vec2(0.9f, 0.1f));
        volume->position = glm::vec2(0.0f, -0.72f);
        LayerCreator::PushTextStyle(0.6f);
        label = LayerCreator::MakeLocaleTextWidget(*volume, kMusicVolume, LayerCreator::kInteractive);
        LayerCreator::PopTextStyle(1);
        label->position = glm::vec2(-1.0f, 0.0f);
        label->anchor = glm::vec2(1.0f, 0.0f);
        label->SetRelativeSize(glm::vec2(0.45f, 1.0f));
        label->GetComp<Engine::UI::BaseTextComp>()->alignment = Engine::UI::BaseTextComp::kLeft;

        auto* slider = volume->Make<Canvas>();
        slider->anchor = glm::vec2(1.0f, 0.0f);
        slider->SetRelativeSize(glm::vec2(0.5f, 0.8f));
        std::vector<IElement*> stepList;
        for (int i = 0; i < kSteps; ++i) {
            auto* step = slider->Make<Widget>();
            step->MakeComp<Engine::UI::DetectInteractionComp>();
            // Half volume: steps 0 to 10 lit.
            LayerCreator::AddSprite(*step, i <= kSteps / 2 ? kLitStep : kDarkStep);
            steps.push_back(step);
            stepList.push_back(step);
        }
        LayerCreator::SpreadHorizontally(stepList, 0.05f);
        build.focus = buttons[1];
    }

    // Runs frames until the focused button has grown, then draws one.
    void Draw()
    {
        for (int i = 0; i < 20; ++i)
            host.Frame(stack);
        glClearColor(0.04f, 0.07f, 0.11f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        stack.RenderTop();
        EXPECT_TRUE(DrainGlErrors().empty());
    }

    void SwitchLanguage(std::uint32_t language)
    {
        Engine::UI::SetLanguage(language);
        Engine::UI::ApplyFontToAllTexts(Engine::UI::GetLanguageFont());
    }

    Box BoxOf(const IElement& element) const { return PixelBox(element, host.window); }

    FakeHost host;
    LayerStack stack;
    Widget* title = nullptr;
    Widget* label = nullptr;
    std::vector<Widget*> buttons;
    std::vector<Widget*> steps;
};

TEST_F(MenuLook, EnglishPageShowsItsTextsTheFocusInGoldAndTheSlider)
{
    Draw();
    ASSERT_TRUE(SaveScreenshot("menu_english"));
    EXPECT_GT(CountPixels(BoxOf(*title), White), 300) << "the title is drawn";
    EXPECT_GT(CountPixels(BoxOf(*buttons[1]), Gold), 200) << "the focused button's text is gold";
    EXPECT_EQ(CountPixels(BoxOf(*buttons[1]), White), 0);
    for (Widget* other : {buttons[0], buttons[2]}) {
        EXPECT_GT(CountPixels(BoxOf(*other), White), 200);
        EXPECT_EQ(CountPixels(BoxOf(*other), Gold), 0);
    }
    EXPECT_GT(buttons[1]->scale, 1.04f) << "and it has grown";
    EXPECT_GT(CountPixels(BoxOf(*label), White), 100);

    // Lit and dark steps of the slider, probed at their middles.
    auto middle = [&](const Widget& step) {
        const Box b = BoxOf(step);
        return PixelAt((b.left + b.right) / 2, (b.bottom + b.top) / 2);
    };
    const std::array<int, 3> lit = middle(*steps[0]);
    const std::array<int, 3> dark = middle(*steps[20]);
    EXPECT_NEAR(lit[0], 51, 3);
    EXPECT_NEAR(lit[1], 255, 3);
    EXPECT_NEAR(dark[0], 128, 3);
    EXPECT_NEAR(dark[2], 128, 3);
    // The see-through panel darkens nothing it does not cover.
    const Box panel = BoxOf(*title->parent);
    const std::array<int, 3> inside = PixelAt(panel.left + 4, panel.bottom + 4);
    const std::array<int, 3> outside = PixelAt(panel.left - 20, panel.bottom + 4);
    EXPECT_NEAR(inside[2], static_cast<int>(0.3f * 0.11f * 255 + 0.7f * 0.1f * 255), 3);
    EXPECT_NEAR(outside[2], 28, 2);
}

TEST_F(MenuLook, APageDrawnBeforeItsFirstUpdateShowsItsTextsAtTheirSize)
{
    glClear(GL_COLOR_BUFFER_BIT);
    stack.RenderTop();
    const int first = CountPixels(BoxOf(*title), White);
    Draw();
    EXPECT_GT(first, 300);
    EXPECT_NEAR(first, CountPixels(BoxOf(*title), White), 30);
}

TEST_F(MenuLook, RussianPageDrawsCyrillicInTheCyrillicFont)
{
    const Engine::Font* cyrillic = Engine::Renderer::GetInstance().fonts.Find("Cyrillic");
    ASSERT_NE(cyrillic, nullptr);
    auto* titleText = title->GetComp<Engine::UI::LocaleTextComp>();
    EXPECT_EQ(titleText->font, Engine::Renderer::GetInstance().fonts.Find("Latin"));
    SwitchLanguage(2);
    EXPECT_EQ(titleText->font, cyrillic);
    EXPECT_EQ(titleText->GetText(), u"Настройки");
    for (char16_t letter : titleText->GetText())
        EXPECT_NE(cyrillic->Find(letter), nullptr) << "the font has a glyph of its own";
    Draw();
    ASSERT_TRUE(SaveScreenshot("menu_russian"));
    EXPECT_GT(CountPixels(BoxOf(*title), White), 300);
    EXPECT_GT(CountPixels(BoxOf(*buttons[1]), Gold), 200);
    EXPECT_GT(CountPixels(BoxOf(*buttons[0]), White), 200);
}

TEST_F(MenuLook, CyrillicLettersDrawTheirOwnShapesNotTheFallbackGlyph)
{
    SwitchLanguage(2);
    Canvas& root = *stack.Top()->root;
    auto* probe = root.Make<Widget>();
    probe->SetRelativeSize(glm::vec2(0.3f, 0.3f));
    probe->position = glm::vec2(0.0f, -0.5f);
    auto* text = probe->MakeComp<Engine::UI::PureTextComp>(Engine::UI::GetLanguageFont(), u"Ж");
    text->SetFontSize(60.0f);
    title->parent->ClearChildren();

    std::map<std::u16string, int> lit;
    for (const std::u16string shown : {u"Ж", u"Д", u"\uE000"}) {
        text->SetText(shown);
        glClear(GL_COLOR_BUFFER_BIT);
        stack.RenderTop();
        lit[shown] = CountPixels(BoxOf(*probe), White);
    }
    EXPECT_GT(lit[u"Ж"], 150);
    EXPECT_GT(lit[u"Д"], 150);
    EXPECT_NE(lit[u"Ж"], lit[u"\uE000"]) << "a letter is not the fallback box";
    EXPECT_NE(lit[u"Д"], lit[u"\uE000"]);
    EXPECT_NE(lit[u"Ж"], lit[u"Д"]);
}

} // namespace
