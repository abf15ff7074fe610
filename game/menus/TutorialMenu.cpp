#include "game/menus/TutorialMenu.h"

#include "engine/ui/LayerStack.h"
#include "engine/ui/TextComps.h"
#include "game/arena/MatchRecorder.h"
#include "game/menus/MenuComps.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/WidgetKit.h"

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

namespace {

constexpr std::uint32_t kTutorialsTitle = 97;
constexpr std::uint32_t kTutorialBack = 85;
constexpr float kListTextSize = 0.9f;

std::uint32_t gOverlayText = 0;

} // namespace

std::uint32_t TutorialOverlayText() { return gOverlayText; }

void StartTutorial(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp)
{
    const auto* marker = comp.owner->GetComp<StartTutorialComp>();
    if (!marker || marker->tutorialRow >= kTutorialTable.size())
        return;
    const TutorialTableRow& row = kTutorialTable[marker->tutorialRow];
    gOverlayText = row.textId + 1;
    StackOf(*comp.owner).Push(&BuildTutorialOverlay, kTutorialOverlayLayer);
    MenuEventRecord event;
    event.row = row;
    MenuEvents::Raise(MenuEvents::StartTutorial, event);
}

void EndTutorial() { MatchRecorder::GetInstance().isLive = 1; }

void BuildTutorialMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Canvas& padded = MakeCanvas(root, {0.95f, 0.95f});
    Canvas& top = MakeCanvas(padded, {1.0f, 0.9f}, {0.0f, 1.0f}, {0.0f, -1.0f});
    Canvas& titlePanel = MakeCanvas(top, {0.8f, 0.15f}, {0.0f, 1.0f}, {0.0f, -1.0f});
    Widget* title = MakeLocaleTextWidget(titlePanel, kTutorialsTitle, kBackground);
    Place(*title, {0.0f, 0.0f}, {1.0f, 1.0f});
    Canvas& list = MakeCanvas(top, {0.6f, 0.75f}, {0.0f, -1.0f}, {0.0f, 1.0f});

    PushTextStyle(kListTextSize);
    std::vector<IElement*> buttons;
    for (std::uint32_t i = 0; i < kTutorialTable.size(); ++i) {
        Widget* button = MakeLocaleTextWidget(list, kTutorialTable[i].textId, kButton);
        button->MakeComp<StartTutorialComp>(i);
        Runs(*button, &StartTutorial);
        buttons.push_back(button);
    }
    SpreadVertically(buttons, 0.05f);
    PopTextStyle(1);

    Canvas& bottom = MakeCanvas(padded, {1.0f, 0.05f}, {0.0f, -1.0f}, {0.0f, 1.0f});
    Widget* back = MakeLocaleTextWidget(bottom, kTutorialBack, kButton);
    Place(*back, {0.0f, 0.0f}, {0.5f, 1.0f});
    ClosesLayer(*back);
    build.focus = back;
}

void BuildTutorialOverlay(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Canvas& band = MakeCanvas(root, {1.0f, 0.05f}, {0.0f, 0.9f}, {0.0f, -1.0f});
    Widget* text = MakeLocaleTextWidget(band, gOverlayText, kBackground);
    Place(*text, {0.0f, 0.0f}, {1.0f, 1.0f});
    Widget* back = MakeLocaleTextWidget(root, kTutorialBack, kButton);
    Place(*back, {0.0f, -0.8f}, {0.5f, 0.1f});
    ClosesLayer(*back);
    Runs(*back, &Call<&EndTutorial>);
    build.focus = back;
}

} // namespace LayerCreator
