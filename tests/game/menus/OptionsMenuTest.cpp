#include "MenuFixture.h"
#include "engine/audio/MasterVolume.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/Window.h"
#include "engine/ui/SpriteRenderComp.h"
#include "game/config/UserConfig.h"
#include "game/match/GameScene.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/OptionsMenu.h"
#include "game/menus/WidgetKit.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace {

using LayerCreator::kResolutions;

TEST(Resolution, IndexOfTheWindowAndTheCycleAgainstTheDisplay)
{
    EXPECT_EQ(LayerCreator::ResolutionIndexOf({1280, 720}), 0u);
    EXPECT_EQ(LayerCreator::ResolutionIndexOf({1920, 1080}), 2u);
    EXPECT_EQ(LayerCreator::ResolutionIndexOf({1366, 768}), 4u) << "not in the table";

    struct Case {
        std::uint32_t index;
        glm::uvec2 display;
        std::uint32_t next;
    } cases[] = {
        {2, {1920, 1080}, 0},  // 3840 x 2160 is larger than the display
        {4, {1366, 768}, 0},   // from a size not in the table
        {0, {1920, 1080}, 1},
        {1, {1920, 1080}, 2},
        {2, {3840, 2160}, 3},
        {3, {3840, 2160}, 0},
        {0, {1600, 800}, 0},   // 1600 x 900 is taller than the display
        {0, {1280, 720}, 0},
    };
    for (const auto& c : cases) {
        const LayerCreator::ResolutionStep step = LayerCreator::NextResolution(c.index, c.display);
        EXPECT_EQ(step.index, c.next) << c.index << " on " << c.display.x << " x " << c.display.y;
        EXPECT_EQ(step.size, kResolutions[c.next]);
    }
}

// 7680 x 4320 on a 1280 x 720 display put the menus off-screen and sized
// every render target to it. The window opens at a listed size that fits;
// the file keeps the player's choice, through the saves of other options,
// until they choose a size, and a match start reading it again says
// nothing more.
TEST(Resolution, AStoredSizeLargerThanTheDisplayOpensAtTheLargestListedSizeThatFits)
{
    ScopedHome home;
    OpenTestWindow();
    Engine::Window& window = *Engine::Window::Main();
    window.SetFullscreen(false);
    window.SetResolution({1600, 900});
    UserConfig::Save();
    nlohmann::json stored = nlohmann::json::parse(ReadFileText(home.ConfigPath()));
    stored["resolution_x"] = 7680;
    stored["resolution_y"] = 4320;
    WriteFileText(home.ConfigPath(), stored.dump());

    LayerCreator::OfferResolutionsToWindow();
    const std::string said = StderrOf([] { UserConfig::Load(); });
    const auto [width, height] = window.GetSize();
    const auto [usableWidth, usableHeight] = Engine::Window::UsableArea().value();
    EXPECT_LE(width, usableWidth);
    EXPECT_LE(height, usableHeight);
    const glm::uvec2 size(static_cast<unsigned>(width), static_cast<unsigned>(height));
    EXPECT_LT(LayerCreator::ResolutionIndexOf(size), LayerCreator::kResolutionCount) << width << " x " << height;
    EXPECT_EQ(said, "[UserConfig] the resolution 7680 x 4320 does not fit the display's usable area of "
                        + std::to_string(usableWidth) + " x " + std::to_string(usableHeight) + "; the window opens at "
                        + std::to_string(width) + " x " + std::to_string(height) + " and the file keeps 7680 x 4320\n");
    EXPECT_EQ(nlohmann::json::parse(ReadFileText(home.ConfigPath())), stored);

    EXPECT_EQ(StderrOf([] { UserConfig::Load(); }), "");
    EXPECT_EQ(window.GetSize(), std::make_pair(width, height));

    // Saving another option writes the stored size back; a size the player
    // chooses replaces it, even the one the window already has.
    const auto savedSize = [&] {
        const nlohmann::json saved = nlohmann::json::parse(ReadFileText(home.ConfigPath()));
        return std::make_pair(saved.at("resolution_x").get<int>(), saved.at("resolution_y").get<int>());
    };
    LayerCreator::ToggleVSync();
    LayerCreator::ToggleFullscreen();
    LayerCreator::ToggleFullscreen();
    EXPECT_EQ(savedSize(), std::make_pair(7680, 4320));
    LayerCreator::ResolutionIndex() = LayerCreator::ResolutionIndexOf(size);
    LayerCreator::CycleResolution();
    EXPECT_EQ(savedSize(), std::make_pair(window.width, window.height));
    EXPECT_NE(savedSize(), std::make_pair(7680, 4320));
}

TEST(Volume, HeldDirectionStepsByAHundredthOfTwentyAndSliderStepsSetTheirShare)
{
    using Engine::UI::kLeft;
    using Engine::UI::kRight;
    using Engine::UI::kUp;
    EXPECT_FLOAT_EQ(LayerCreator::SteppedVolume(0.5f, kRight), 0.55f);
    EXPECT_FLOAT_EQ(LayerCreator::SteppedVolume(0.5f, kLeft), 0.45f);
    EXPECT_FLOAT_EQ(LayerCreator::SteppedVolume(0.5f, kRight | kUp), 0.45f) << "only right alone raises";
    EXPECT_FLOAT_EQ(LayerCreator::SteppedVolume(0.5f, kUp), 0.5f);
    EXPECT_FLOAT_EQ(LayerCreator::SteppedVolume(0.98f, kRight), 1.0f);
    EXPECT_FLOAT_EQ(LayerCreator::SteppedVolume(0.02f, kLeft), 0.0f);
    EXPECT_FLOAT_EQ(LayerCreator::VolumeOfStep(10, 21), 0.5f);
    EXPECT_FLOAT_EQ(LayerCreator::VolumeOfStep(0, 21), 0.0f);
    EXPECT_FLOAT_EQ(LayerCreator::VolumeOfStep(20, 21), 1.0f);
    EXPECT_FLOAT_EQ(LayerCreator::VolumeOfStep(99, 21), 1.0f);
}

// The options page on the game's stack, saving into a home of its own.
class OptionsPage : public MenuFixture {
protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        OpenTestWindow();
        Engine::Window::Main()->SetResolution({1280, 720});
        Engine::MasterVolume::music = 0.5f;
        Engine::MasterVolume::sfx = 0.5f;
        Stack().Push(&LayerCreator::BuildOptionsMenu, LayerCreator::kOptionsLayer);
    }

    nlohmann::json Saved() const { return nlohmann::json::parse(ReadFileText(home.ConfigPath())); }

    static std::vector<bool> Lit(const LayerCreator::VolumeSlider& slider)
    {
        std::vector<bool> lit;
        for (Engine::UI::Widget* step : slider)
            lit.push_back(step->GetComp<Engine::UI::SpriteRenderComp>()->colour == LayerCreator::kLitStepColour);
        return lit;
    }

    ScopedHome home;
};

// Right held on the music row steps it at once, after 0.4 s, then every
// 0.1 s, alike at 144 and at 25 frames a second, and saves each step that
// changes it. One-frame taps of Left from a clicked step walk down every
// notch, each in its own frame, to exactly 0.
TEST_F(OptionsPage, ATapOnTheMusicRowStepsOnceAndAHoldStepsAlikeAtAnyFrameRate)
{
    EXPECT_EQ(FocusedText(), 9u) << "Back has the focus";
    Engine::UI::IElement* music = WithText(69);
    Engine::UI::LayerStack::SetFocus(&Top(), music->GetComp<Engine::UI::DetectInteractionComp>());
    const auto holdRight = [&](float seconds) {
        host.keys.insert(79);
        for (int frame = 0; frame < static_cast<int>(seconds / host.dt); ++frame) {
            const float before = Engine::MasterVolume::music;
            Frame();
            if (Engine::MasterVolume::music != before) {
                ASSERT_FLOAT_EQ(Saved()["music_volume"].get<float>(), Engine::MasterVolume::music);
            }
        }
        host.keys.clear();
        Frames(2);
    };
    for (const float dt : {0.007f, 0.04f}) {
        host.dt = dt;
        Engine::MasterVolume::music = 0.5f;
        holdRight(0.15f);
        EXPECT_NEAR(Engine::MasterVolume::music, 0.55f, 1e-5f) << "a tap at " << dt << " s frames";
        holdRight(1.0f);
        EXPECT_NEAR(Engine::MasterVolume::music, 0.9f, 1e-5f) << "seven notches in 1 s at " << dt << " s frames";
    }
    holdRight(1.0f);
    EXPECT_FLOAT_EQ(Engine::MasterVolume::music, 1.0f);
    EXPECT_FLOAT_EQ(Saved()["music_volume"].get<float>(), 1.0f);
    EXPECT_EQ(Lit(LayerCreator::SliderOf(*music)), std::vector<bool>(21, true));
    EXPECT_FLOAT_EQ(Engine::MasterVolume::sfx, 0.5f);
    EXPECT_EQ(FocusedText(), 69u) << "the focus stays on the row";
    std::filesystem::remove(home.ConfigPath());
    holdRight(1.0f);
    EXPECT_FALSE(std::filesystem::exists(home.ConfigPath())) << "held at 1, nothing to save";

    Activate(LayerCreator::SliderOf(*music)[7]);
    Engine::UI::LayerStack::SetFocus(&Top(), music->GetComp<Engine::UI::DetectInteractionComp>());
    for (int notch = 6; notch >= 0; --notch) {
        host.keys.insert(80);
        Frame();
        host.keys.clear();
        EXPECT_EQ(Engine::MasterVolume::music, static_cast<float>(notch) / 20) << "notch " << notch;
        EXPECT_EQ(std::ranges::count(Lit(LayerCreator::SliderOf(*music)), true), notch + 1);
        Frame();
    }
    EXPECT_EQ(Saved()["music_volume"].get<float>(), 0.0f);

    // A slow frame just before a 0.2 s tap is no time the key was held.
    host.keys.insert(79);
    host.dt = 0.5f;
    Frame();
    host.dt = 0.007f;
    Frames(30);
    host.keys.clear();
    Frames(2);
    EXPECT_EQ(Engine::MasterVolume::music, 0.05f) << "one notch for a tap after a slow frame";
}

// Each page holds its own sliders: a page opened again, after the first
// closed, steers and lights the new steps alone. A volume a hair under a
// notch, as older saves hold them, lights that notch.
TEST_F(OptionsPage, SliderStepsSetTheVolumeAndLightTheStepsUpToItOnEveryOpening)
{
    EXPECT_TRUE(LayerCreator::SliderOf(*WithText(2)).empty()) << "the title has no slider";
    Stack().Pop();
    Engine::MasterVolume::sfx = 0.49999997f;
    Stack().Push(&LayerCreator::BuildOptionsMenu, LayerCreator::kOptionsLayer);
    const LayerCreator::VolumeSlider effects = LayerCreator::SliderOf(*WithText(68));
    ASSERT_EQ(effects.size(), 21u);
    std::vector<bool> half(21, false);
    std::fill(half.begin(), half.begin() + 11, true);
    EXPECT_EQ(Lit(effects), half) << "shown at once with the current volume";

    Activate(effects[0]);
    EXPECT_FLOAT_EQ(Engine::MasterVolume::sfx, 0.0f);
    std::vector<bool> first(21, false);
    first[0] = true;
    EXPECT_EQ(Lit(effects), first) << "step 0 is always lit";
    Activate(effects[20]);
    EXPECT_FLOAT_EQ(Engine::MasterVolume::sfx, 1.0f);
    Activate(effects[10]);
    EXPECT_FLOAT_EQ(Engine::MasterVolume::sfx, 0.5f);
    EXPECT_EQ(Lit(effects), half);
    EXPECT_FLOAT_EQ(Saved()["sfx_volume"].get<float>(), 0.5f);
    EXPECT_FLOAT_EQ(Engine::MasterVolume::music, 0.5f);
    EXPECT_EQ(Lit(LayerCreator::SliderOf(*WithText(69))), half) << "the music slider is its own";
}

TEST_F(OptionsPage, ToggleRowsShowTheirValueAndSaveWhatTheFileKeeps)
{
    Engine::UI::IElement& panel = *WithText(66)->parent;
    auto valueAt = [&](std::uint32_t label) {
        const float y = WithText(panel, label)->position.y;
        return FindElement(panel, [&](Engine::UI::IElement& e) {
            return e.position == glm::vec2(0.0f, y) && e.GetComp<Engine::UI::BaseTextComp>();
        });
    };
    auto onOff = [&](std::uint32_t label) { return valueAt(label)->GetComp<Engine::UI::LocaleTextComp>()->key; };

    const bool vsync = Engine::Renderer::GetInstance().GetVSync();
    Activate(WithText(72));
    EXPECT_NE(Engine::Renderer::GetInstance().GetVSync(), vsync);
    EXPECT_EQ(Saved()["VSync"].get<bool>(), !vsync);
    EXPECT_EQ(onOff(72), vsync ? 13u : 12u);

    GameScene::PlayerUsesGamepad[0] = true;
    EXPECT_EQ(onOff(11), 12u);
    Activate(WithText(11));
    EXPECT_FALSE(GameScene::PlayerUsesGamepad[0]);
    EXPECT_EQ(onOff(11), 13u);
    EXPECT_FALSE(Saved().contains("controller")) << "the permission is not kept";
    Activate(WithText(11));
    EXPECT_TRUE(GameScene::PlayerUsesGamepad[0]);

    auto* size = valueAt(71)->GetComp<Engine::UI::PureTextComp>();
    EXPECT_EQ(size->text, u"1280 x 720");
    EXPECT_EQ(LayerCreator::ResolutionIndex(), 0u);
    Activate(WithText(71));
    EXPECT_EQ(LayerCreator::ResolutionIndex(), 0u) << "1600 x 900 does not fit the 1280 x 720 display";
    EXPECT_EQ(Saved()["resolution_x"].get<int>(), 1280);
}

TEST_F(OptionsPage, LanguagePageSwitchesEveryUnfixedTextAndSavesTheChoice)
{
    const Engine::Font* latin = Engine::UI::GetFontForLanguage(0);
    const Engine::Font* cyrillic = Engine::UI::GetFontForLanguage(2);
    Engine::UI::AddLanguageHandler([](Engine::UI::LanguageChange&) {
        Engine::UI::ApplyFontToAllTexts(Engine::UI::GetLanguageFont());
    });
    const std::size_t styles = LayerCreator::TextStyleDepth();
    Activate(WithText(74));
    ASSERT_EQ(Top().name, LayerCreator::kLanguageLayer);
    EXPECT_EQ(LayerCreator::TextStyleDepth(), styles);

    Activate(WithText(77));
    EXPECT_EQ(Localisation::GetLanguage(), 2u);
    EXPECT_EQ(Saved()["language"].get<int>(), 2);
    for (std::uint32_t k = 0; k < 5; ++k) {
        auto* name = WithText(75 + k)->GetComp<Engine::UI::LocaleTextComp>();
        EXPECT_EQ(name->font, Engine::UI::GetFontForLanguage(k)) << "each name keeps its own script's font";
    }
    EXPECT_EQ(WithText(74)->GetComp<Engine::UI::LocaleTextComp>()->font, cyrillic);
    EXPECT_EQ(WithText(74)->GetComp<Engine::UI::LocaleTextComp>()->GetText(), u"Язык");

    Activate(WithText(9));
    EXPECT_EQ(Top().name, LayerCreator::kOptionsLayer);
    EXPECT_EQ(WithText(2)->GetComp<Engine::UI::LocaleTextComp>()->font, cyrillic);
    Activate(WithText(74));
    Activate(WithText(75));
    EXPECT_EQ(WithText(74)->GetComp<Engine::UI::LocaleTextComp>()->font, latin);
    EXPECT_EQ(Saved()["language"].get<int>(), 0);
    EXPECT_EQ(LayerCreator::TextStyleDepth(), styles);
    EXPECT_FLOAT_EQ(LayerCreator::CurrentTextStyle(), LayerCreator::kDefaultTextSize);
}

} // namespace
