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

// The text keys of one row: the right-aligned left column's, then the
// left-aligned right column's.
struct RowKeys {
    std::uint32_t left;
    std::uint32_t right;
};

// Both views are two columns of rows facing each other across the middle.
void BuildColumns(Canvas& content, std::uint32_t rows, RowKeys (*keysOfRow)(std::uint32_t))
{
    const Columns columns = MakeColumns(content);
    std::vector<IElement*> left, right;
    PushTextStyle(kCreditsTextSize);
    for (std::uint32_t i = 0; i < rows; ++i) {
        const RowKeys keys = keysOfRow(i);
        Widget* leftText = MakeLocaleTextWidget(*columns.left, keys.left, kPlain);
        Align(*leftText, Engine::UI::BaseTextComp::kRight);
        Widget* rightText = MakeLocaleTextWidget(*columns.right, keys.right, kPlain);
        Align(*rightText, Engine::UI::BaseTextComp::kLeft);
        left.push_back(leftText);
        right.push_back(rightText);
    }
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
    BuildColumns(content, kTitleRows,
                 [](std::uint32_t row) { return RowKeys{kFirstTitle + row, kFirstTitleText + row}; });
}

// Who made the game: the team, then the parts of the project. They are
// words, not names, so they come from the text table like every other text
// of the page, in the language's own script and font.
void BuildCreditsMembers(Canvas& content)
{
    BuildColumns(content, kMemberRows,
                 [](std::uint32_t row) { return RowKeys{kFirstMember + row, row == 0 ? kLeadRole : kRole}; });
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
