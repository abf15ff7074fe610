// Under Xvfb: the game from its title screen, driven by the keyboard.
#include "GameDriver.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/logic/LogicManager.h"
#include "game/components/perks/ActivePerks.h"
#include "game/components/perks/PassivePerks.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/match/GameModifiers.h"
#include "game/menus/AddressField.h"
#include "game/menus/MenuFixture.h"
#include "game/menus/MenuLayers.h"

namespace {

using LayerCreator::kLanguageLayer;
using LayerCreator::kOptionsLayer;
using LayerCreator::kTitleLayer;

using TitleFlow = GameDriver;

Engine::UI::LocaleTextComp* FindPrompt(Engine::UI::IElement& element)
{
    if (auto* text = element.GetComp<Engine::UI::LocaleTextComp>(); text && text->key == 10)
        return text;
    if (auto* canvas = dynamic_cast<Engine::UI::Canvas*>(&element)) {
        for (Engine::UI::IElement* child : canvas->Children()) {
            if (auto* found = FindPrompt(*child))
                return found;
        }
    }
    return nullptr;
}

TEST_F(TitleFlow, OptionsToRussianAndBack)
{
    // The arena rises into place behind the title first.
    GameMode::Pending = GameMode::Title;
    Steps(200);
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
    ASSERT_EQ(TopPage(), kTitleLayer);
    EXPECT_EQ(Focused(), 0u);
    Shot("title_en");

    Choose(2);
    ASSERT_EQ(TopPage(), kOptionsLayer);
    Shot("options_en");
    Choose(74, SDL_SCANCODE_UP);
    ASSERT_EQ(TopPage(), kLanguageLayer);
    Shot("language_en");
    Choose(77, SDL_SCANCODE_UP);
    EXPECT_EQ(Localisation::GetLanguage(), 2u);
    Choose(9);
    ASSERT_EQ(TopPage(), kOptionsLayer);
    Shot("options_ru");
    Choose(9);
    ASSERT_EQ(TopPage(), kTitleLayer);
    Steps(5);
    Shot("title_ru");

    // The join screen's prompt is Russian too, in letters the font has.
    Choose(0, SDL_SCANCODE_UP);
    Choose(4, SDL_SCANCODE_UP);
    ASSERT_EQ(TopPage(), LayerCreator::kEnterAddressLayer);
    auto* prompt = TopLayer()->root ? FindPrompt(*TopLayer()->root) : nullptr;
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->font, Engine::UI::GetFontForLanguage(2));
    EXPECT_EQ(prompt->GetText(), Localisation::Text(10, 2));
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

class LocalMatchFlow : public GameDriver {
protected:
    // In the perk list of the label that starts with `label`: the option.
    void ChoosePerk(const std::u16string& label, std::uint32_t option)
    {
        bool found = false;
        for (SDL_Scancode way : {SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT, SDL_SCANCODE_LEFT})
            found = found || FocusWithArrows(label, way);
        ASSERT_TRUE(found) << "no way to the label on " << TopPage();
        Press(SDL_SCANCODE_RETURN);
        ASSERT_TRUE(TopPage() == LayerCreator::kActivePerkLayer || TopPage() == LayerCreator::kPassivePerkLayer);
        Choose(option, SDL_SCANCODE_UP);
    }
};

TEST_F(LocalMatchFlow, PerksChosenForBothPlayersReachTheMatchAndPauseQuitsToTheTitle)
{
    Tarvex::Configs::Perks& perks = GameModifiers::GetPerks();
    perks.EnablePerks.value = true;
    GameMode::Pending = GameMode::Title;
    Steps(60);

    Choose(0);
    ASSERT_EQ(TopPage(), LayerCreator::kPlayLayer);
    EXPECT_EQ(Focused(), 5u) << "a local match is the first offer";
    Shot("play_en");

    // The join screen, with an address typed; back without joining.
    Choose(4, SDL_SCANCODE_UP);
    ASSERT_EQ(TopPage(), LayerCreator::kEnterAddressLayer);
    for (const char* piece : {"192.168", ".1.5", ":80", "08"})
        Type(piece);
    ASSERT_NE(LayerCreator::EnterIPComponent::Active(), nullptr);
    EXPECT_EQ(LayerCreator::EnterIPComponent::Active()->Text(), "192.168.1.5:8008");
    Shot("join_en");
    Choose(19);
    ASSERT_EQ(TopPage(), LayerCreator::kPlayLayer);

    Choose(5);
    ASSERT_EQ(TopPage(), LayerCreator::kLocalPrematchLayer);
    Shot("prematch_en");
    Press(SDL_SCANCODE_RETURN);
    ASSERT_EQ(TopPage(), LayerCreator::kPlayer1PerksLayer);
    ChoosePerk(u"Active: ", 23);
    Shot("perk_list_en");
    Choose(9);
    ChoosePerk(u"Passive: ", 126);
    Choose(9);
    Shot("perks_player1_en");

    Choose(7, SDL_SCANCODE_DOWN);
    ASSERT_EQ(TopPage(), LayerCreator::kPlayer2PerksLayer);
    ChoosePerk(u"Active: ", 25);
    Choose(9);
    ChoosePerk(u"Passive: ", 28);
    Choose(9);
    Shot("perks_player2_en");
    Choose(6, SDL_SCANCODE_DOWN);

    ASSERT_TRUE(RunUntil(GameMode::Gameplay));
    Steps(20);
    const auto players = LocalPlayers();
    ASSERT_FALSE(players[0].IsNull());
    ASSERT_FALSE(players[1].IsNull());
    EXPECT_TRUE(Has<ActivePerkss::Shield>(players[0]));
    EXPECT_TRUE(Has<PasivePerkss::HoldSpeed>(players[0]));
    EXPECT_TRUE(Has<ActivePerkss::Droppable>(players[1]));
    EXPECT_TRUE(Has<PasivePerkss::RunCost0>(players[1]));
    EXPECT_FALSE(Has<ActivePerkss::TeleportToBall>(players[0]));
    EXPECT_FALSE(Has<PasivePerkss::DoubleJump>(players[1]));

    Press(SDL_SCANCODE_ESCAPE);
    ASSERT_EQ(TopPage(), LayerCreator::kPauseLayer);
    EXPECT_TRUE(GameMode::Paused);
    Shot("pause_en");
    Choose(1);
    ASSERT_TRUE(RunUntil(GameMode::Title));
    Steps(2);
    EXPECT_EQ(TopPage(), LayerCreator::kTitleLayer);
    EXPECT_EQ(Engine::UI::LayerStack::GetInstance().Size(), 1u);

    Choose(41);
    ASSERT_EQ(TopPage(), LayerCreator::kCreditsLayer);
    Shot("credits_libraries_en");
    Press(SDL_SCANCODE_RETURN);
    Shot("credits_team_en");
    // The view stays for the next visit: back to the titles, as a new run
    // shows them.
    Press(SDL_SCANCODE_RETURN);
    Choose(19);
    Choose(97, SDL_SCANCODE_UP);
    ASSERT_EQ(TopPage(), LayerCreator::kTutorialLayer);
    Shot("tutorials_en");
}

} // namespace
