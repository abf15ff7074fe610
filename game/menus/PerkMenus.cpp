#include "game/menus/PerkMenus.h"

#include "engine/ui/Localisation.h"
#include "engine/ui/SpriteRenderComp.h"
#include "engine/ui/TextComps.h"
#include "game/match/GameModifiers.h"
#include "game/menus/MenuComps.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/PerkTables.h"
#include "game/menus/WidgetKit.h"

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

namespace {

constexpr std::uint32_t kActivePrefix = 20;
constexpr std::uint32_t kPassivePrefix = 21;
constexpr std::uint32_t kPerkBack = 9;

constexpr glm::vec4 kChosenColour{0.815f, 0.384f, 0.854f, 0.7f};
constexpr float kOptionTextSize = 0.8f;

std::uint32_t gEditedPlayer = 0;

int& PerkSetting(std::uint32_t player, bool active)
{
    Tarvex::Configs::Perks& perks = GameModifiers::GetPerks();
    if (active)
        return player == 0 ? perks.Active.value : perks.Active2.value;
    return player == 0 ? perks.Passive.value : perks.Passive2.value;
}

// Which perk setting a choice list writes, kept by the list itself: the
// setting is looked up when an option is chosen, and nothing of the list
// stays behind when it closes.
class EditedPerkComp : public Engine::UI::IElemComp {
public:
    EditedPerkComp(std::uint32_t editedPlayer, bool activeKind) : player(editedPlayer), active(activeKind) {}
    std::uint32_t player;
    bool active;
};

int* TargetOf(const Canvas& list)
{
    const auto* edited = list.GetComp<EditedPerkComp>();
    return edited ? &PerkSetting(edited->player, edited->active) : nullptr;
}

std::uint32_t PlayerOf(const IElement& label)
{
    const auto* marker = label.GetComp<FwdEditPlayerPerkComp>();
    return marker ? marker->playerIndex : 0;
}

void ShowActiveLabel(Engine::UI::CustomUpdateComp& comp)
{
    PureTextOf(*comp.owner)->SetText(PerkLabelText(PlayerOf(*comp.owner), true));
}

void ShowPassiveLabel(Engine::UI::CustomUpdateComp& comp)
{
    PureTextOf(*comp.owner)->SetText(PerkLabelText(PlayerOf(*comp.owner), false));
}

template <bool Active>
void OpenPerkList(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp)
{
    SetEditedPlayer(PlayerOf(*comp.owner));
    if (Active)
        StackOf(*comp.owner).RequestPush(&BuildActivePerkDropdown, kActivePerkLayer);
    else
        StackOf(*comp.owner).RequestPush(&BuildPassivePerkDropdown, kPassivePerkLayer);
}

Widget* PerkLabel(Canvas& parent, std::uint32_t player, bool active)
{
    Widget* label = MakePureTextWidget(parent, PerkLabelText(player, active), kButton);
    label->MakeComp<FwdEditPlayerPerkComp>(player);
    RunsEveryFrame(*label, active ? &ShowActiveLabel : &ShowPassiveLabel);
    Runs(*label, active ? &OpenPerkList<true> : &OpenPerkList<false>);
    return label;
}

// The options of a list are the buttons that carry SelectPerk; each keeps
// its value as the action's user value.
void Highlight(const Canvas& list)
{
    const int* target = TargetOf(list);
    for (IElement* child : list.Children()) {
        const auto* action = child->GetComp<Engine::UI::RunActionOnInteractComp>();
        auto* sprite = child->GetComp<Engine::UI::SpriteRenderComp>();
        if (!action || action->action != &SelectPerk || !sprite)
            continue;
        const bool chosen = target && static_cast<int>(action->userValue) == *target;
        sprite->colour = chosen ? kChosenColour : kBackgroundColour;
    }
}

template <std::size_t N>
void BuildPerkList(LayerBuild& build, const std::array<PerkOption, N>& options, bool active)
{
    Canvas& root = MakeRoot(build);
    Canvas& list = MakeCanvas(root, {0.6f, 0.25f});
    list.MakeComp<EditedPerkComp>(gEditedPlayer, active);
    std::vector<IElement*> buttons;
    PushTextStyle(kOptionTextSize);
    for (const PerkOption& option : options) {
        Widget* button = MakeLocaleTextWidget(list, option.textId, kButton);
        Runs(*button, &SelectPerk, static_cast<std::uintptr_t>(option.value));
        buttons.push_back(button);
    }
    PopTextStyle(1);
    SpreadVertically(buttons, 0.2f);
    Highlight(list);

    Widget* back = MakeLocaleTextWidget(root, kPerkBack, kButton);
    Place(*back, {0.0f, -0.8f}, {0.6f, 0.1f});
    ClosesLayer(*back);
    build.focus = back;
}

} // namespace

std::u16string PerkLabelText(std::uint32_t player, bool active)
{
    const int value = PerkSetting(player, active);
    const std::optional<std::uint32_t> name = active ? ActivePerkName(value) : PassivePerkName(value);
    std::u16string text = Engine::UI::GetLocaleText(active ? kActivePrefix : kPassivePrefix);
    if (name)
        text += Engine::UI::GetLocaleText(*name);
    return text;
}

void SetEditedPlayer(std::uint32_t player) { gEditedPlayer = player > 1 ? 0 : player; }

std::uint32_t EditedPlayer() { return gEditedPlayer; }

void SelectPerk(std::uintptr_t value, Engine::UI::RunActionOnInteractComp& comp)
{
    if (!comp.owner || !comp.owner->parent)
        return;
    if (int* target = TargetOf(*comp.owner->parent))
        *target = static_cast<int>(value);
    Highlight(*comp.owner->parent);
}

Canvas& BuildPerkOptions(Canvas& parent, std::uint32_t player)
{
    // Two wide buttons side by side, not two tall ones: the names fit.
    Canvas& labels = MakeCanvas(parent, {0.9f, 0.4f});
    Widget* active = PerkLabel(labels, player, true);
    Widget* passive = PerkLabel(labels, player, false);
    SpreadHorizontally({active, passive}, 0.2f);
    return labels;
}

void BuildActivePerkDropdown(LayerBuild& build) { BuildPerkList(build, kActivePerkOptions, true); }

void BuildPassivePerkDropdown(LayerBuild& build) { BuildPerkList(build, kPassivePerkOptions, false); }

} // namespace LayerCreator
