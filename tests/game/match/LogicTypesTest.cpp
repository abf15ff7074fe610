#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/logic/Factory.h"
#include "engine/logic/SMComponent.h"
#include "game/components/perks/ActivePerks.h"
#include "game/components/music/AudioLogic.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/tile/ColourCollider.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/player/EnergyLogic.h"
#include "game/components/objects/ForcefieldCollider.h"
#include "game/components/tile/GoalTile.h"
#include "game/components/player/HurtLogic.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/components/objects/LevelLoader.h"
#include "game/components/perks/PassivePerks.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"
#include "game/components/ball/ShieldLogic.h"
#include "game/components/objects/StunCollider.h"
#include "game/components/ball/TempBallComp.h"
#include "game/components/objects/TurretCollider.h"
#include "game/components/objects/WallCollider.h"
#include "game/components/tile/TileLogicComponent.h"
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
