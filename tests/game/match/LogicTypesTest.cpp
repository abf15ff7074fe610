#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/logic/Factory.h"
#include "engine/logic/SMComponent.h"
#include "game/components/AudioLogic.h"
#include "game/components/ColourCollider.h"
#include "game/components/CrashingTile.h"
#include "game/components/GoalTile.h"
#include "game/components/ImmovableTile.h"
#include "game/components/TileLogicComponent.h"
#include "game/match/RegisterLogicTypes.h"

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
    };
    for (const Row& row : rows) {
        std::unique_ptr<Engine::IFactoryBase> made(Engine::Factory::GetInstance().Create(row.key));
        EXPECT_TRUE(row.is(made.get())) << row.key;
        const auto* component = dynamic_cast<const Engine::LogicComp*>(made.get());
        ASSERT_NE(component, nullptr) << row.key;
        EXPECT_EQ(component->RegisterType()->name, row.key) << "saved under its own key";
    }
    // Made in code by its owner, never from a saved scene.
    EXPECT_EQ(std::unique_ptr<Engine::IFactoryBase>(Engine::Factory::GetInstance().Create("KillCamHud")), nullptr);
}

} // namespace
