#include "game/match/GameModifiers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

TEST(GameModifiers, RecordsAreReachedByNameOrDirectlyAndKeepTheirJsonNames)
{
    Engine::Property_Map& modifiers = GameModifiers::GetInstance();
    EXPECT_EQ(&modifiers.Get<Tarvex::Configs::Perks>("perk_modifiers")->value, &GameModifiers::GetPerks());
    EXPECT_EQ(&modifiers.Get<Tarvex::Configs::Game>("game_modifiers")->value, &GameModifiers::GetGame());
    modifiers.FromJson(json::parse(R"({"perk_modifiers": {"EnablePerks": false, "Active2": 3}})"));
    json out;
    modifiers.ToJson(out);
    EXPECT_EQ(out.dump(), R"({"game_modifiers":{"max_game_length":90,"score_treshhold":5},)"
                          R"("perk_modifiers":{"Active":0,"Active2":3,"EnablePerks":false,"Passive":0,"Passive2":0}})");
}

TEST(GameModifiers, AFreshPerkRecordHasPerksOnAndEveryChoiceAtTheFirstPerk)
{
    Tarvex::Configs::Perks perks;
    json out;
    perks.GetPropertyMap().ToJson(out);
    EXPECT_EQ(out, json::parse(R"({"EnablePerks": true, "Active": 0, "Passive": 0, "Active2": 0, "Passive2": 0})"));
    EXPECT_TRUE(perks.mPerkTarget.IsNull());

    // The player being given its perks is no part of the saved choices.
    perks.mPerkTarget = Engine::EntityHandle(5u);
    perks.GetPropertyMap().FromJson(json::parse(R"({"Passive2": 4})"));
    EXPECT_EQ(perks.Passive2.value, 4);
    EXPECT_FALSE(perks.mPerkTarget.IsNull());
}

} // namespace
