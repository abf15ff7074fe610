// Under Xvfb: the game from its title screen, driven by the keyboard.
#include "GameDriver.h"
#include "MenuFixture.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/logic/LogicManager.h"
#include "game/components/ActivePerks.h"
#include "game/components/PassivePerks.h"
#include "game/components/PlayerLogicComp.h"
#include "game/match/GameModifiers.h"
#include "game/menus/AddressField.h"
#include "game/menus/MenuLayers.h"

namespace {

using LayerCreator::kLanguageLayer;
using LayerCreator::kOptionsLayer;
using LayerCreator::kTitleLayer;

TEST(TitleFlow, OptionsToRussianAndBack)
{
    ScopedHome home;
    GameDriver game;
    GameMode::Pending = GameMode::Title;
    game.Steps(200);
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
    ASSERT_EQ(game.TopPage(), kTitleLayer);
    EXPECT_EQ(game.Focused(), 0u);
    game.Shot("title_en");

    game.Choose(2);
    ASSERT_EQ(game.TopPage(), kOptionsLayer);
    game.Shot("options_en");
    game.Choose(74, SDL_SCANCODE_UP);
    ASSERT_EQ(game.TopPage(), kLanguageLayer);
    game.Shot("language_en");
    game.Choose(77, SDL_SCANCODE_UP);
    EXPECT_EQ(Localisation::GetLanguage(), 2u);
    game.Choose(9);
    ASSERT_EQ(game.TopPage(), kOptionsLayer);
    game.Shot("options_ru");
    game.Choose(9);
    ASSERT_EQ(game.TopPage(), kTitleLayer);
    game.Steps(5);
    game.Shot("title_ru");
}

// Player 1's and player 2's entities, by player number.
std::array<Engine::EntityHandle, 2> LocalPlayers()
{
    std::array<Engine::EntityHandle, 2> players{};
    for (Engine::EntityHandle entity : Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse")) {
        const int number = Player_LogicComp::PlayerNumberOf(entity);
        if (number == 1 || number == 2)
            players[static_cast<std::size_t>(number - 1)] = entity;
    }
    return players;
}

template <class Perk>
bool Has(Engine::EntityHandle player)
{
    return Engine::LogicManager::GetCompPtr<Perk>(player) != nullptr;
}

class LocalMatchFlow : public ::testing::Test {
protected:
    // In the perk list of the label that starts with `label`: the option.
    void ChoosePerk(const std::u16string& label, std::uint32_t option)
    {
        bool found = false;
        for (SDL_Scancode way : {SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT, SDL_SCANCODE_LEFT})
            found = found || game.FocusWithArrows(label, way);
        ASSERT_TRUE(found) << "no way to the label on " << game.TopPage();
        game.Tap(SDL_SCANCODE_RETURN);
        ASSERT_TRUE(game.TopPage() == LayerCreator::kActivePerkLayer || game.TopPage() == LayerCreator::kPassivePerkLayer);
        game.Choose(option, SDL_SCANCODE_UP);
    }

    ScopedHome home;
    GameDriver game;
};

TEST_F(LocalMatchFlow, PerksChosenForBothPlayersReachTheMatchAndPauseQuitsToTheTitle)
{
    Tarvex::Configs::Perks& perks = GameModifiers::GetPerks();
    perks.EnablePerks.value = true;
    GameMode::Pending = GameMode::Title;
    game.Steps(60);

    game.Choose(0);
    ASSERT_EQ(game.TopPage(), LayerCreator::kPlayLayer);
    EXPECT_EQ(game.Focused(), 5u) << "a local match is the first offer";
    game.Shot("play_en");

    // The join screen, with an address typed; back without joining.
    game.Choose(4, SDL_SCANCODE_UP);
    ASSERT_EQ(game.TopPage(), LayerCreator::kEnterAddressLayer);
    for (const char* piece : {"192.168", ".1.5", ":80", "08"})
        game.Type(piece);
    ASSERT_NE(LayerCreator::EnterIPComponent::Active(), nullptr);
    EXPECT_EQ(LayerCreator::EnterIPComponent::Active()->Text(), "192.168.1.5:8008");
    game.Shot("join_en");
    game.Choose(19);
    ASSERT_EQ(game.TopPage(), LayerCreator::kPlayLayer);

    game.Choose(5);
    ASSERT_EQ(game.TopPage(), LayerCreator::kLocalPrematchLayer);
    game.Shot("prematch_en");
    game.Tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(game.TopPage(), LayerCreator::kPlayer1PerksLayer);
    ChoosePerk(u"Active: ", 23);
    game.Shot("perk_list_en");
    game.Choose(9);
    ChoosePerk(u"Passive: ", 126);
    game.Choose(9);
    game.Shot("perks_player1_en");

    game.Choose(7, SDL_SCANCODE_DOWN);
    ASSERT_EQ(game.TopPage(), LayerCreator::kPlayer2PerksLayer);
    ChoosePerk(u"Active: ", 25);
    game.Choose(9);
    ChoosePerk(u"Passive: ", 28);
    game.Choose(9);
    game.Shot("perks_player2_en");
    game.Choose(6, SDL_SCANCODE_DOWN);

    ASSERT_TRUE(game.RunUntil(GameMode::Gameplay));
    game.Steps(20);
    const auto players = LocalPlayers();
    ASSERT_FALSE(players[0].IsNull());
    ASSERT_FALSE(players[1].IsNull());
    EXPECT_TRUE(Has<ActivePerkss::Shield>(players[0]));
    EXPECT_TRUE(Has<PasivePerkss::HoldSpeed>(players[0]));
    EXPECT_TRUE(Has<ActivePerkss::Droppable>(players[1]));
    EXPECT_TRUE(Has<PasivePerkss::RunCost0>(players[1]));
    EXPECT_FALSE(Has<ActivePerkss::TeleportToBall>(players[0]));
    EXPECT_FALSE(Has<PasivePerkss::DoubleJump>(players[1]));

    game.Tap(SDL_SCANCODE_ESCAPE);
    ASSERT_EQ(game.TopPage(), LayerCreator::kPauseLayer);
    EXPECT_TRUE(GameMode::Paused);
    game.Shot("pause_en");
    game.Choose(1);
    ASSERT_TRUE(game.RunUntil(GameMode::Title));
    game.Steps(2);
    EXPECT_EQ(game.TopPage(), LayerCreator::kTitleLayer);
    EXPECT_EQ(Engine::UI::LayerStack::GetInstance().Size(), 1u);

    game.Choose(41);
    ASSERT_EQ(game.TopPage(), LayerCreator::kCreditsLayer);
    game.Shot("credits_libraries_en");
    game.Tap(SDL_SCANCODE_RETURN);
    game.Shot("credits_team_en");
    game.Choose(19);
    game.Choose(97, SDL_SCANCODE_UP);
    ASSERT_EQ(game.TopPage(), LayerCreator::kTutorialLayer);
    game.Shot("tutorials_en");
}

} // namespace
