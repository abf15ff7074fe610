#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/logic/Factory.h"
#include "engine/logic/SMComponent.h"
#include "game/components/ActivePerks.h"
#include "game/components/AudioLogic.h"
#include "game/components/BadgeManagerComp.h"
#include "game/components/GoalBall.h"
#include "game/components/ColourCollider.h"
#include "game/components/CrashingTile.h"
#include "game/components/EnergyLogic.h"
#include "game/components/ForcefieldCollider.h"
#include "game/components/GoalTile.h"
#include "game/components/HurtLogic.h"
#include "game/components/ImmovableTile.h"
#include "game/components/LevelLoader.h"
#include "game/components/PassivePerks.h"
#include "game/components/PlayerLogicComp.h"
#include "game/components/PlayerMovement.h"
#include "game/components/ShieldLogic.h"
#include "game/components/StunCollider.h"
#include "game/components/TempBallComp.h"
#include "game/components/TurretCollider.h"
#include "game/components/WallCollider.h"
#include "game/components/TileLogicComponent.h"
#include "game/match/RegisterLogicTypes.h"
#include "support/CapturedOutput.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

template <class T>
bool IsA(const Engine::IFactoryBase* made)
{
    return dynamic_cast<const T*>(made) != nullptr;
}

TEST(LogicTypes, EachRegisteredTypeIsMadeByTheNameItIsSavedUnder)
{
    RegisterLogicTypes();
    struct Row {
        const char* key;
        std::function<bool(const Engine::IFactoryBase*)> is;
    };
    const Row rows[] = {
        {"Engine::SMComponent", IsA<Engine::SMComponent>}, {"TileLogicComponent", IsA<TileLogicComponent>},
        {"ColourCollider", IsA<ColourCollider>},           {"GoalTile", IsA<GoalTile>},
        {"ImmovableTile", IsA<ImmovableTile>},             {"CrashingTile", IsA<CrashingTile>},
        {"Engine::Emitter", IsA<Engine::Emitter>},         {"Engine::Listener", IsA<Engine::Listener>},
        {"AudioLogic", IsA<AudioLogic>},
        {"Player_LogicComp", IsA<Player_LogicComp>},       {"Player_Movement", IsA<Player_Movement>},
        {"Energy_Logic", IsA<Energy_Logic>},               {"Hurt_Logic", IsA<Hurt_Logic>},
        {"PasivePerkss::RocketJump", IsA<PasivePerkss::RocketJump>},
        {"PasivePerkss::RunCost0", IsA<PasivePerkss::RunCost0>},
        {"PasivePerkss::DoubleJump", IsA<PasivePerkss::DoubleJump>},
        {"PasivePerkss::ActiveCost", IsA<PasivePerkss::ActiveCost>},
        {"PasivePerkss::TileBendingCost", IsA<PasivePerkss::TileBendingCost>},
        {"PasivePerkss::HoldSpeed", IsA<PasivePerkss::HoldSpeed>},
        {"ActivePerkss::TeleportToBall", IsA<ActivePerkss::TeleportToBall>},
        {"ActivePerkss::Shield", IsA<ActivePerkss::Shield>},
        {"ActivePerkss::SlowBall", IsA<ActivePerkss::SlowBall>},
        {"ActivePerkss::Droppable", IsA<ActivePerkss::Droppable>},
        {"LevelLoader", IsA<LevelLoader>},                 {"LevelLoader2", IsA<LevelLoader2>},
        {"TempBallComp", IsA<TempBallComp>},               {"GoalBall", IsA<GoalBall>},
        {"Shield_Logic", IsA<Shield_Logic>},               {"WallCollider", IsA<WallCollider>},
        {"BadgeManagerComp", IsA<BadgeManagerComp>},
        {"TurretCollider", IsA<TurretCollider>},           {"ForcefieldCollider", IsA<ForcefieldCollider>},
        {"StunCollider", IsA<StunCollider>},
    };
    for (const Row& row : rows) {
        std::unique_ptr<Engine::IFactoryBase> made(Engine::Factory::GetInstance().Create(row.key));
        EXPECT_TRUE(row.is(made.get())) << row.key;
        const auto* component = dynamic_cast<const Engine::LogicComp*>(made.get());
        ASSERT_NE(component, nullptr) << row.key;
        EXPECT_EQ(component->RegisterType()->name, row.key) << "saved under its own key";
        StdoutOf([&] { made.reset(); }); // a player says goodbye
    }
    // Made in code by its owner, never from a saved scene.
    EXPECT_EQ(std::unique_ptr<Engine::IFactoryBase>(Engine::Factory::GetInstance().Create("KillCamHud")), nullptr);
    // The bases of the perks are no perks of their own.
    for (const char* base : {"PasivePerkss::PasivePerk", "ActivePerkss::ActivePerk"})
        EXPECT_EQ(std::unique_ptr<Engine::IFactoryBase>(Engine::Factory::GetInstance().Create(base)), nullptr) << base;
}

} // namespace
