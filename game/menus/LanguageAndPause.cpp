#include "game/menus/LanguageAndPause.h"

#include "engine/ui/Localisation.h"
#include "engine/ui/TextComps.h"
#include "game/config/UserConfig.h"
#include "game/menus/MenuActions.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/OptionsMenu.h"
#include "game/menus/WidgetKit.h"

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

namespace {

constexpr std::uint32_t kPauseBack = 9;
constexpr std::uint32_t kLanguageTitle = 74;
constexpr std::uint32_t kFirstLanguageName = 75;
constexpr std::uint32_t kResume = 80;
constexpr std::uint32_t kPauseOptions = 2;
constexpr std::uint32_t kPauseQuit = 1;

} // namespace

Canvas& MakeCentralPanel(Canvas& root)
{
    Canvas& central = MakeCanvas(root, {0.8f, 0.75f}, {0.0f, 0.9f}, {0.0f, -1.0f});
    AddSprite(central, kBackgroundColour);
    return MakeCanvas(central, {0.9f, 1.0f});
}

Widget* MakeBackButton(Canvas& root)
{
    Widget* back = MakeLocaleTextWidget(root, kPauseBack, kButton);
    Place(*back, {0.0f, -0.95f}, {0.8f, 0.1f}, {0.0f, 1.0f});
    ClosesLayer(*back);
    return back;
}

void SelectLanguage(std::uintptr_t language, Engine::UI::RunActionOnInteractComp&)
{
    Engine::UI::SetLanguage(static_cast<std::uint32_t>(language));
    UserConfig::Save();
}

void BuildLanguageMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Canvas& padding = MakeCentralPanel(root);
    PushTextStyle(kSettingsTextSize);
    Widget* title = MakeLocaleTextWidget(padding, kLanguageTitle, kPlain);
    Place(*title, {0.0f, 1.0f}, {1.0f, 0.1f}, {0.0f, -1.0f});
    Canvas& list = MakeCanvas(padding, {1.0f, 0.85f}, {0.0f, 0.8f}, {0.0f, -1.0f});
    std::vector<IElement*> buttons;
    for (std::uint32_t k = 0; k < Localisation::kLanguageCount; ++k) {
        Widget* button = MakeLocaleTextWidget(list, kFirstLanguageName + k, kButton);
        // Each language's name in its own script, whatever the language.
        LocaleTextOf(*button)->SetFontFixed(Engine::UI::GetFontForLanguage(k));
        Runs(*button, &SelectLanguage, k);
        buttons.push_back(button);
    }
    SpreadVertically(buttons, 0.25f);
    build.focus = MakeBackButton(root);
    PopTextStyle(1);
}

void BuildPauseMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Canvas& list = MakeCanvas(root, {0.3f, 0.45f});
    // Keeps its pixel size when the window changes.
    list.SetSizeMode(IElement::kAbsolute);
    Widget* resume = MakeLocaleTextWidget(list, kResume, kButton);
    ClosesLayer(*resume);
    Widget* options = MakeLocaleTextWidget(list, kPauseOptions, kButton);
    OpensLayer(*options, &BuildOptionsMenu, kOptionsLayer);
    Widget* quit = MakeLocaleTextWidget(list, kPauseQuit, kButton);
    Runs(*quit, &Call<&QuitToTitle>);
    SpreadVertically({resume, options, quit}, 0.25f);
    build.focus = resume;
}

} // namespace LayerCreator
