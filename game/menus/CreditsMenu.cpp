#include "game/menus/CreditsMenu.h"

#include "engine/ui/TextComps.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/WidgetKit.h"

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

namespace {

constexpr std::uint32_t kCreditsTitle = 41;
constexpr std::uint32_t kFirstTitle = 42;
constexpr std::uint32_t kFirstTitleText = 52;
constexpr std::uint32_t kTitleRows = 10;
constexpr std::uint32_t kFirstMember = 86;
constexpr std::uint32_t kMemberRows = 6;
constexpr std::uint32_t kLeadRole = 62;
constexpr std::uint32_t kRole = 63;
constexpr std::uint32_t kShowLibraries = 64;
constexpr std::uint32_t kShowTeam = 65;
constexpr std::uint32_t kCreditsBack = 19;
constexpr float kCreditsTextSize = 0.95f;

bool gShowTitles = true;

struct Columns {
    Canvas* left;
    Canvas* right;
};

Columns MakeColumns(Canvas& content)
{
    return {&MakeCanvas(content, {0.48f, 1.0f}, {-0.04f, 1.0f}, {-1.0f, -1.0f}),
            &MakeCanvas(content, {0.48f, 1.0f}, {0.04f, 1.0f}, {1.0f, -1.0f})};
}

void Align(Widget& widget, std::uint32_t alignment) { TextOf(widget)->alignment = alignment; }

void FinishColumns(Canvas& content, const std::vector<IElement*>& left, const std::vector<IElement*>& right)
{
    SpreadVertically(left, 0.0f);
    SpreadVertically(right, 0.0f);
    PopTextStyle(1);
    content.Layout();
}

void FillContent(Canvas& content)
{
    content.ClearChildren();
    if (gShowTitles)
        BuildCreditsTitles(content);
    else
        BuildCreditsMembers(content);
}

void ShowViewButtonText(IElement& button)
{
    if (auto* text = LocaleTextOf(button))
        text->SetKey(gShowTitles ? kShowTeam : kShowLibraries);
}

} // namespace

bool CreditsShowTitles() { return gShowTitles; }

void BuildCreditsTitles(Canvas& content)
{
    const Columns columns = MakeColumns(content);
    std::vector<IElement*> left, right;
    PushTextStyle(kCreditsTextSize);
    for (std::uint32_t i = 0; i < kTitleRows; ++i) {
        Widget* title = MakeLocaleTextWidget(*columns.left, kFirstTitle + i, kPlain);
        Align(*title, Engine::UI::BaseTextComp::kRight);
        Widget* text = MakeLocaleTextWidget(*columns.right, kFirstTitleText + i, kPlain);
        Align(*text, Engine::UI::BaseTextComp::kLeft);
        left.push_back(title);
        right.push_back(text);
    }
    FinishColumns(content, left, right);
}

void BuildCreditsMembers(Canvas& content)
{
    const Columns columns = MakeColumns(content);
    std::vector<IElement*> left, right;
    PushTextStyle(kCreditsTextSize);
    // Who made the game: the team, then the parts of the project. They are
    // words, not names, so they come from the text table like every other
    // text of the page, in the language's own script and font.
    for (std::uint32_t i = 0; i < kMemberRows; ++i) {
        Widget* name = MakeLocaleTextWidget(*columns.left, kFirstMember + i, kPlain);
        Align(*name, Engine::UI::BaseTextComp::kRight);
        Widget* role = MakeLocaleTextWidget(*columns.right, left.empty() ? kLeadRole : kRole, kPlain);
        Align(*role, Engine::UI::BaseTextComp::kLeft);
        left.push_back(name);
        right.push_back(role);
    }
    FinishColumns(content, left, right);
}

void ToggleCreditsView(std::uintptr_t content, Engine::UI::RunActionOnInteractComp& comp)
{
    gShowTitles = !gShowTitles;
    FillContent(*reinterpret_cast<Canvas*>(content));
    ShowViewButtonText(*comp.owner);
}

void BuildCreditsMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Canvas& padded = MakeCanvas(root, {0.95f, 0.95f});

    Canvas& panel = MakeCanvas(padded, {1.0f, 0.7125f}, {0.0f, 1.0f}, {0.0f, -1.0f});
    AddSprite(panel, kBackgroundColour);
    Widget* title = MakeLocaleTextWidget(panel, kCreditsTitle, kPlain);
    Place(*title, {0.0f, 1.0f}, {1.0f, 0.15f}, {0.0f, -1.0f});
    Canvas& content = MakeCanvas(panel, {1.0f, 0.85f}, {0.0f, -1.0f}, {0.0f, 1.0f});

    Canvas& bottom = MakeCanvas(padded, {0.6f, 0.25f}, {0.0f, -1.0f}, {0.0f, 1.0f});
    Widget* view = MakeLocaleTextWidget(bottom, kShowTeam, kButton);
    Place(*view, {0.0f, 1.0f}, {1.0f, 0.375f}, {0.0f, -1.0f});
    Runs(*view, &ToggleCreditsView, reinterpret_cast<std::uintptr_t>(&content));
    Widget* back = MakeLocaleTextWidget(bottom, kCreditsBack, kButton);
    Place(*back, {0.0f, -1.0f}, {1.0f, 0.375f}, {0.0f, 1.0f});
    ClosesLayer(*back);

    FillContent(content);
    ShowViewButtonText(*view);
    build.focus = view;
}

} // namespace LayerCreator
