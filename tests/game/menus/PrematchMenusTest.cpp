#include "MenuFixture.h"
#include "engine/net/NetworkMgr.h"
#include "engine/net/PrematchHandlerList.h"
#include "engine/ui/SpriteRenderComp.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/PerkMenus.h"
#include "game/menus/PerkTables.h"
#include "game/menus/PrematchMenus.h"
#include "game/menus/PrematchState.h"
#include "game/menus/WidgetKit.h"
#include "game/modes/LobbyMode.h"
#include "support/CapturedOutput.h"

namespace {

using LayerCreator::PrematchPair;

TEST(PrematchStage, ReachedPastTheStageOrAtItWithAValue)
{
    struct Case {
        PrematchPair pair;
        std::uint8_t stage;
        bool reached;
    } cases[] = {
        {{2, 0}, 1, true},   {{2, 0}, 2, false}, {{2, 1}, 1, true},  {{2, 1}, 2, true},
        {{0, 1}, 0, false},  {{0, 1}, 1, false}, {{0, 0}, 2, false}, {{1, 1}, 2, false},
        {{10, 1}, 1, true},  {{10, 1}, 10, true}, {{10, 0}, 10, false}, {{2, 1}, 10, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LayerCreator::StageReached(c.pair, c.stage), c.reached)
            << "(" << int(c.pair.stage) << ", " << int(c.pair.value) << ") at " << int(c.stage);
    }
    // The value field of a received message: value in the low byte, stage
    // in the next.
    EXPECT_EQ(LayerCreator::PairFromValueField(0x0A01), (PrematchPair{10, 1}));
    EXPECT_EQ(LayerCreator::PairFromValueField(0xFFFF0200), (PrematchPair{2, 0}));
    EXPECT_EQ(LayerCreator::ValueField({2, 1}), 0x0201u);
}

TEST(PerkTables, EveryOptionNamesItsSelectionNumberBothWays)
{
    const std::pair<std::uint32_t, int> active[] = {{22, 0}, {23, 1}, {24, 2}, {25, 3}};
    const std::pair<std::uint32_t, int> passive[] = {{27, 0}, {126, 1}, {28, 2}, {29, 3}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(LayerCreator::kActivePerkOptions[i].textId, active[i].first);
        EXPECT_EQ(LayerCreator::kActivePerkOptions[i].value, active[i].second);
        EXPECT_EQ(LayerCreator::ActivePerkName(active[i].second), active[i].first);
        EXPECT_EQ(LayerCreator::kPassivePerkOptions[i].textId, passive[i].first);
        EXPECT_EQ(LayerCreator::kPassivePerkOptions[i].value, passive[i].second);
        EXPECT_EQ(LayerCreator::PassivePerkName(passive[i].second), passive[i].first);
    }
    for (int outside : {-1, 4, 5, 6, 1000}) {
        EXPECT_FALSE(LayerCreator::ActivePerkName(outside).has_value());
        EXPECT_FALSE(LayerCreator::PassivePerkName(outside).has_value());
    }
}

class Prematch : public MenuFixture {
protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        perks.EnablePerks.value = true;
        perks.Active.value = perks.Passive.value = perks.Active2.value = perks.Passive2.value = 0;
        LayerCreator::ResetPrematchState();
        MenuEvents::AddOnce(MenuEvents::StartMatch, &CountStart);
        starts = 0;
    }
    static void CountStart(MenuEventRecord&) { ++starts; }

    Tarvex::Configs::Perks& perks = GameModifiers::GetPerks();
    static inline int starts = 0;
};

TEST_F(Prematch, LocalWalkThroughBothPlayersPerksToTheStart)
{
    // What a cancelled networked lobby left behind is gone with a new play
    // menu.
    LayerCreator::LocalPrematch() = {2, 1};
    LayerCreator::RemotePrematch() = {1, 1};
    Stack().Push(&LayerCreator::BuildPlayMenu, LayerCreator::kPlayLayer);
    EXPECT_EQ(LayerCreator::LocalPrematch(), (PrematchPair{}));
    EXPECT_EQ(LayerCreator::RemotePrematch(), (PrematchPair{}));
    EXPECT_EQ(FocusedText(), 5u);
    Activate(WithText(5));
    ASSERT_EQ(Top().name, LayerCreator::kLocalPrematchLayer);
    EXPECT_EQ(GameScene::PlayerCount, 2);
    EXPECT_EQ(FocusedText(), 7u) << "perks on: Continue";

    // Player 1: the passive list, charged shot.
    Activate(WithText(7));
    ASSERT_EQ(Top().name, LayerCreator::kPlayer1PerksLayer);
    Activate(WithPureText(*Top().root, u"Passive: "));
    ASSERT_EQ(Top().name, LayerCreator::kPassivePerkLayer);
    EXPECT_EQ(FocusedText(), 9u);
    Activate(WithText(126));
    EXPECT_EQ(Top().name, LayerCreator::kPassivePerkLayer) << "the list stays open";
    EXPECT_EQ(perks.Passive.value, 1);
    Activate(WithText(9));
    Frame();
    EXPECT_NE(WithPureText(*Top().root, u"Passive: Charged shot"), nullptr);

    // Player 2: the active list, shield, then the passive, cheap tiles.
    Activate(WithText(7));
    ASSERT_EQ(Top().name, LayerCreator::kPlayer2PerksLayer);
    Activate(WithPureText(*Top().root, u"Active: "));
    Activate(WithText(23));
    Activate(WithText(9));
    Activate(WithPureText(*Top().root, u"Passive: "));
    Activate(WithText(29));
    Activate(WithText(9));
    Frame();
    EXPECT_NE(WithPureText(*Top().root, u"Active: Shield"), nullptr);
    EXPECT_NE(WithPureText(*Top().root, u"Passive: Cheap tiles"), nullptr);
    EXPECT_EQ(starts, 0);
    Activate(WithText(6));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(perks.Active.value, 0);
    EXPECT_EQ(perks.Passive.value, 1);
    EXPECT_EQ(perks.Active2.value, 1);
    EXPECT_EQ(perks.Passive2.value, 3);
}

TEST_F(Prematch, PerkListHighlightsTheChoiceAndUnknownValuesShowThePrefixAlone)
{
    LayerCreator::SetEditedPlayer(1);
    perks.Passive2.value = 2;
    Stack().Push(&LayerCreator::BuildPassivePerkDropdown, LayerCreator::kPassivePerkLayer);
    auto colour = [&](std::uint32_t text) { return WithText(text)->GetComp<Engine::UI::SpriteRenderComp>()->colour; };
    const glm::vec4 chosen{0.815f, 0.384f, 0.854f, 0.7f};
    EXPECT_EQ(colour(28), chosen);
    EXPECT_EQ(colour(126), LayerCreator::kBackgroundColour);
    Activate(WithText(126));
    EXPECT_EQ(perks.Passive2.value, 1);
    EXPECT_EQ(perks.Passive.value, 0);
    EXPECT_EQ(colour(126), chosen);
    EXPECT_EQ(colour(28), LayerCreator::kBackgroundColour);
    EXPECT_EQ(LayerCreator::PerkLabelText(1, false), u"Passive: Charged shot");

    perks.Active.value = 7;
    EXPECT_EQ(LayerCreator::PerkLabelText(0, true), u"Active: ");
}

TEST_F(Prematch, PerksOffStartsTheLocalMatchAtOnceAndTheLabelTogglesThem)
{
    Stack().Push(&LayerCreator::BuildLocalPrematch, LayerCreator::kLocalPrematchLayer);
    auto* value = WithText(12);
    ASSERT_NE(value, nullptr) << "the value shows On";
    Activate(WithText(34));
    EXPECT_FALSE(perks.EnablePerks.value);
    EXPECT_EQ(value->GetComp<Engine::UI::LocaleTextComp>()->key, 13u);
    EXPECT_EQ(FocusedText(), 34u);
    Engine::UI::IElement* start = WithText(6);
    ASSERT_NE(start, nullptr) << "the right button now reads Start match";
    Activate(start);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(Top().name, LayerCreator::kLocalPrematchLayer);
}

TEST_F(Prematch, PerksOffHostStartsBothSides)
{
    perks.EnablePerks.value = false;
    Stack().Push(&LayerCreator::BuildHostPrematch, LayerCreator::kHostPrematchLayer);
    const std::string said = StdoutOf([&] { Activate(WithText(7)); });
    EXPECT_EQ(said.rfind("Host pressed ready\n", 0), 0u) << said;
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(LayerCreator::LocalPrematch(), (PrematchPair{10, 1}));

    // The client, on receiving what the host sent, starts too with perks off.
    Stack().Clear();
    LayerCreator::ResetPrematchState();
    perks.EnablePerks.value = true;
    PrematchHandlerList::AddOnce(&LobbyMode::OnNetworkEvent);
    Stack().Push(&LayerCreator::BuildClientWait, LayerCreator::kClientWaitLayer);
    Frame();
    EXPECT_EQ(starts, 1) << "nothing heard yet";
    PrematchMessage message;
    message.kind = 0;
    message.value = LayerCreator::ValueField({10, 1});
    PrematchHandlerList::Raise(message);
    Frame();
    EXPECT_EQ(starts, 2);
    EXPECT_FALSE(perks.EnablePerks.value);
    PrematchHandlerList::Remove(&LobbyMode::OnNetworkEvent);
}

TEST_F(Prematch, NetworkedPerkChoiceStartsOnlyWhenBothSidesAreReady)
{
    // Off since an earlier local match: the host's perk choice turns it on,
    // or the perks chosen here would never be attached.
    perks.EnablePerks.value = false;
    Stack().Push(&LayerCreator::BuildClientWait, LayerCreator::kClientWaitLayer);
    EXPECT_EQ(FocusedText(), 16u);
    LayerCreator::RemotePrematch() = {1, 1};
    Frame();
    ASSERT_EQ(Top().name, LayerCreator::kNetworkPerksLayer);
    EXPECT_EQ(LayerCreator::LocalPrematch(), (PrematchPair{1, 1}));
    EXPECT_TRUE(perks.EnablePerks.value);
    EXPECT_EQ(FocusedText(), 14u);

    Activate(WithText(14));
    EXPECT_EQ(LayerCreator::LocalPrematch(), (PrematchPair{2, 1}));
    EXPECT_EQ(FocusedText(), 8u) << "pressing again would withdraw";
    EXPECT_EQ(starts, 0) << "the peer is not ready";
    Activate(WithText(8));
    EXPECT_EQ(LayerCreator::LocalPrematch(), (PrematchPair{2, 0}));
    LayerCreator::RemotePrematch() = {2, 1};
    Frames(3);
    EXPECT_EQ(starts, 0) << "withdrawn";
    Activate(WithText(14));
    Frames(2);
    EXPECT_EQ(starts, 0) << "a client starts on the host's word only";
    NetworkMgr::GetInstance().server = 1;
    Frame();
    NetworkMgr::GetInstance().server = 0;
    EXPECT_GE(starts, 1) << "the host starts once both are ready";
}

} // namespace
