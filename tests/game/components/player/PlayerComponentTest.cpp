// The player component apart from a match: its numbers, its saved form and
// the music's question of which player an entity is.
#include "engine/audio/Emitter.h"
#include "engine/audio/RecordingSoundSystem.h"
#include "engine/core/EntityManager.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "game/components/music/AudioLogic.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/match/RegisterLogicTypes.h"
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

class PlayerComponent : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterLogicTypes();
        Engine::SceneManager::SetIdle();
        Player_LogicComp::ResetPlayerCount();
    }
    void TearDown() override
    {
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        SoundSystem::Install(nullptr);
    }

    static Engine::EntityHandle NewPlayer()
    {
        const Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::LogicManager::GetInstance().AddComponent<Player_LogicComp>(entity);
        return entity;
    }
};

TEST_F(PlayerComponent, PlayersAreNumberedInTheOrderTheyAreMadeFromOneAfterAReset)
{
    const Engine::EntityHandle first = NewPlayer();
    const Engine::EntityHandle second = NewPlayer();
    EXPECT_EQ(Player_LogicComp::PlayerNumberOf(first), 1);
    EXPECT_EQ(Player_LogicComp::PlayerNumberOf(second), 2);
    EXPECT_EQ(Player_LogicComp::LivePlayerCount(), 2);
    EXPECT_EQ(Player_LogicComp::PlayerNumberOf(Engine::EntityMgr::GetInstance().CreateEntity()), 0);

    const std::string farewell = StdoutOf([&] { Engine::LogicManager::GetInstance().RemoveComponent(second); });
    EXPECT_EQ(farewell, "[DEBUG] Player component destroyed!\n");
    EXPECT_EQ(Player_LogicComp::LivePlayerCount(), 1);

    Player_LogicComp::ResetPlayerCount();
    EXPECT_EQ(Player_LogicComp::PlayerNumberOf(NewPlayer()), 1) << "a new match starts at 1";
}

TEST_F(PlayerComponent, OnlyTheFirstPlayersEntityCarriesTheMatchMusicOn)
{
    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    audio.finished.insert("intro");
    for (int player = 1; player <= 2; ++player) {
        const Engine::EntityHandle entity = NewPlayer();
        Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
        logic.AddComponent<Engine::Emitter>(entity);
        logic.AddComponent<AudioLogic>(entity);
        Engine::Emitter& music = *Engine::LogicManager::GetCompPtr<Engine::Emitter>(entity);
        music.AddSound("GameplayInit", "intro", false);
        music.AddSound("GameplayMiddle", "middle", false);
        audio.calls.clear();
        Engine::LogicManager::GetCompPtr<AudioLogic>(entity)->Update();
        EXPECT_EQ(audio.CallsStartingWith("Play middle").size(), player == 1 ? 1u : 0u) << "player " << player;
    }
}

TEST_F(PlayerComponent, ASavedPlayerComesBackWithItsTuning)
{
    const Engine::EntityHandle saved = NewPlayer();
    Player_LogicComp& original = *Engine::LogicManager::GetCompPtr<Player_LogicComp>(saved);
    original.LevitScale.value = 4.25f;
    original.MaxEnergy.value = 20.0f;
    original.RechageMaxTimer.value = 0.125f;
    original.FovTime.value = 0.75f;
    nlohmann::json form;
    Engine::LogicManager::GetInstance().SaveEntity(form, saved);
    const nlohmann::json& value = form["LogicComps"][0];
    EXPECT_EQ(value["type"], "Player_LogicComp");
    EXPECT_EQ(value["value"].size(), 27u);
    for (const char* key : {"LevitScale", "radial_menu_threshold", "numb_of_modes", "t_init_intersec", "MaxGamepadX",
                            "MaxGamepadY", "PlayerSpeed", "MaxSpeed", "JumpVel", "RocketJumpVel", "PlayerRunSpeed",
                            "MaxRunSpeed", "JumpRunVel", "RocketJumpRunVel", "dragging_tile_threshold", "MaxEnergy",
                            "Energy", "energy_tile_bend_base", "energy_run_base", "RechageMaxTimer",
                            "ExhaustedMaxTimer", "UsingEnergyMaxTimer", "Fov", "FovModifier", "FovLerper",
                            "FovStart", "FovTime"})
        EXPECT_TRUE(value["value"].contains(key)) << key;

    const Engine::EntityHandle loaded = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::LogicManager::GetInstance().LoadEntity(form, loaded);
    const Player_LogicComp* copy = Engine::LogicManager::GetCompPtr<Player_LogicComp>(loaded);
    ASSERT_NE(copy, nullptr);
    nlohmann::json again;
    Engine::LogicManager::GetInstance().SaveEntity(again, loaded);
    EXPECT_EQ(again, form);
    EXPECT_FLOAT_EQ(copy->LevitScale.value, 4.25f);
    EXPECT_FLOAT_EQ(copy->RechageMaxTimer.value, 0.125f);
}

} // namespace
