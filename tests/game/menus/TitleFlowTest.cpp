// Under Xvfb: the game from its title screen, driven by the keyboard.
#include "GameDriver.h"
#include "engine/ui/UserConfig.h"
#include "game/menus/MenuLayers.h"
#include "MenuFixture.h"

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

} // namespace
