#include "game/menus/PrematchMenus.h"

#include "engine/net/NetworkMgr.h"
#include "engine/ui/TextComps.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/menus/MenuActions.h"
#include "game/menus/MenuComps.h"
#include "game/menus/MenuEvents.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/PerkMenus.h"
#include "game/menus/PrematchState.h"
#include "game/menus/WidgetKit.h"

#include <cstdio>

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::Widget;

namespace {

constexpr std::uint32_t kStartMatch = 6;
constexpr std::uint32_t kContinue = 7;
constexpr std::uint32_t kNotReady = 8;
constexpr std::uint32_t kReady = 14;
constexpr std::uint32_t kLeave = 16;
constexpr std::uint32_t kPrematchBack = 19;
// Headings of the perk pages: player 1's, player 2's, and a networked
// player's own.
constexpr std::uint32_t kPlayer1Choice = 39;
constexpr std::uint32_t kPlayer2Choice = 40;
constexpr std::uint32_t kOwnChoice = 73;
constexpr std::uint32_t kOnOff = 32;
constexpr std::uint32_t kWaitingForHost = 33;
constexpr std::uint32_t kPerks = 34;

bool& PerksEnabled() { return GameModifiers::GetPerks().EnablePerks.value; }

void StartMatch() { MenuEvents::Raise(MenuEvents::StartMatch); }

void BackToTwoPlayers(std::uintptr_t, Engine::UI::RunActionOnInteractComp&) { GameScene::PlayerCount = 2; }

// Bottom-bar button setups.
void PopsAndKeepsTwoPlayers(Widget& button)
{
    ClosesLayer(button);
    Runs(button, &BackToTwoPlayers);
}
void Pops(Widget& button) { ClosesLayer(button); }
void StartsLocally(Widget& button)
{
    Runs(button, &LocalStart);
    RunsEveryFrame(button, &UpdateLocalStartButton);
}
void OpensPlayer2Perks(Widget& button) { OpensLayer(button, &BuildPlayer2Perks, kPlayer2PerksLayer); }
void StartsMatch(Widget& button) { Runs(button, &Call<&StartMatch>); }
void LeavesLobby(Widget& button) { Runs(button, &Call<&LeaveLobby>); }
void HostsReady(Widget& button) { Runs(button, &HostReady); }
void TogglesReady(Widget& button)
{
    Runs(button, &ToggleReady);
    RunsEveryFrame(button, &CheckBothReady);
}

std::uint32_t ReadyButtonText() { return IsLocalStageReached(kStageReady) ? kNotReady : kReady; }

// "Perks" and whether they are on, over a bottom bar with the two buttons.
BottomBar BuildPrematchOptions(LayerBuild& build, ButtonSetup leftSetup, std::uint32_t leftText, ButtonSetup rightSetup,
                               std::uint32_t rightText)
{
    Canvas& root = MakeRoot(build);
    Canvas& panel = MakeCanvas(root, {0.5f, 0.15f});
    AddSprite(panel, kBackgroundColour);
    Canvas& row = MakeCanvas(panel, {0.9f, 0.9f});

    Widget* label = MakeLocaleTextWidget(row, kPerks, kInteractive);
    Place(*label, {-1.0f, 0.0f}, {0.575f, 1.0f}, {1.0f, 0.0f});
    TextOf(*label)->alignment = Engine::UI::BaseTextComp::kLeft;
    Runs(*label, &Call<&TogglePerksEnabled>);

    Widget* value = MakeLocaleTextWidget(row, kOnOff, kPlain);
    Place(*value, {1.0f, 0.0f}, {0.375f, 1.0f}, {-1.0f, 0.0f});
    TextOf(*value)->alignment = Engine::UI::BaseTextComp::kRight;
    value->MakeComp<DisplayVarAsTextComp<bool>>(&PerksEnabled());

    return MakeBottomBar(root, leftSetup, leftText, rightSetup, rightText);
}

// A player's perk labels in the middle, under a heading.
BottomBar BuildPerkPage(LayerBuild& build, std::uint32_t player, std::uint32_t headingText, ButtonSetup leftSetup, std::uint32_t leftText,
                        ButtonSetup rightSetup, std::uint32_t rightText)
{
    Canvas& root = MakeRoot(build);
    Widget* heading = MakeLocaleTextWidget(root, headingText, kBackground);
    Place(*heading, {0.0f, 0.55f}, {0.5f, 0.08f});
    Canvas& labels = MakeCanvas(root, {0.7f, 0.45f});
    BuildPerkOptions(labels, player);
    return MakeBottomBar(root, leftSetup, leftText, rightSetup, rightText);
}

} // namespace

void TogglePerksEnabled() { PerksEnabled() = !PerksEnabled(); }

void LocalStart(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp)
{
    if (PerksEnabled())
        StackOf(*comp.owner).RequestPush(&BuildPlayer1Perks, kPlayer1PerksLayer);
    else
        StartMatch();
}

void UpdateLocalStartButton(Engine::UI::CustomUpdateComp& comp)
{
    if (auto* text = LocaleTextOf(*comp.owner)) {
        const std::uint32_t key = PerksEnabled() ? kContinue : kStartMatch;
        if (text->key != key)
            text->SetKey(key);
    }
}

void HostReady(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp)
{
    std::puts("Host pressed ready");
    if (PerksEnabled()) {
        SendPrematchState(1, kStagePerkChoice);
        Engine::UI::LayerStack& stack = StackOf(*comp.owner);
        stack.RequestPop();
        stack.RequestPush(&BuildNetworkPerks, kNetworkPerksLayer);
    } else {
        SendPrematchState(1, kStageStartWithoutPerks);
        StartMatch();
    }
}

void ClientAwaitHost(Engine::UI::CustomUpdateComp& comp)
{
    if (IsRemoteStageReached(kStageStartWithoutPerks)) {
        PerksEnabled() = false;
        StartMatch();
    } else if (IsRemoteStageReached(kStagePerkChoice) && !IsLocalStageReached(kStagePerkChoice)) {
        // The host turned perks on for both: this side's own setting, kept
        // from an earlier local match, must not leave its choice unused.
        PerksEnabled() = true;
        SendPrematchState(1, kStagePerkChoice);
        Engine::UI::LayerStack& stack = StackOf(*comp.owner);
        stack.RequestPop();
        stack.RequestPush(&BuildNetworkPerks, kNetworkPerksLayer);
    }
}

void ToggleReady(std::uintptr_t, Engine::UI::RunActionOnInteractComp& comp)
{
    SendPrematchState(IsLocalStageReached(kStageReady) ? 0 : 1, kStageReady);
    if (auto* text = LocaleTextOf(*comp.owner))
        text->SetKey(ReadyButtonText());
}

void CheckBothReady(Engine::UI::CustomUpdateComp&)
{
    // Only the host decides: each side reading both flags on its own would
    // start one side alone when a ready is withdrawn while the other's is
    // on its way. The client starts on the host's word.
    if (!NetworkMgr::GetInstance().server)
        return;
    if (IsRemoteStageReached(kStageReady) && IsLocalStageReached(kStageReady)) {
        SendStartMatch();
        StartMatch();
    }
}

void BuildLocalPrematch(LayerBuild& build)
{
    GameScene::PlayerCount = 2;
    build.focus = BuildPrematchOptions(build, &PopsAndKeepsTwoPlayers, kPrematchBack, &StartsLocally, kContinue).right;
}

void BuildPlayer1Perks(LayerBuild& build)
{
    build.focus = BuildPerkPage(build, 0, kPlayer1Choice, &Pops, kPrematchBack, &OpensPlayer2Perks, kContinue).right;
}

void BuildPlayer2Perks(LayerBuild& build)
{
    build.focus = BuildPerkPage(build, 1, kPlayer2Choice, &Pops, kPrematchBack, &StartsMatch, kStartMatch).right;
}

void BuildHostPrematch(LayerBuild& build)
{
    build.focus = BuildPrematchOptions(build, &LeavesLobby, kLeave, &HostsReady, kContinue).right;
}

void BuildClientWait(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Widget* waiting = MakeLocaleTextWidget(root, kWaitingForHost, kBackground);
    Place(*waiting, {0.0f, 0.3f}, {0.5f, 0.1f});
    RunsEveryFrame(*waiting, &ClientAwaitHost);
    build.focus = MakeBottomBar(root, &LeavesLobby, kLeave, nullptr, 0).left;
}

void BuildNetworkPerks(LayerBuild& build)
{
    // Each machine edits its own player, kept as player 1's choice.
    const BottomBar bar = BuildPerkPage(build, 0, kOwnChoice, &LeavesLobby, kLeave, &TogglesReady, kReady);
    LocaleTextOf(*bar.right)->SetKey(ReadyButtonText());
    build.focus = bar.right;
}

} // namespace LayerCreator
