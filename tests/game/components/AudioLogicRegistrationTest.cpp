#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/logic/Factory.h"
#include "game/components/AudioLogic.h"
#include "game/match/RegisterLogicTypes.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

template <class T>
bool CreatesA(const char* name)
{
    std::unique_ptr<Engine::IFactoryBase> made(Engine::Factory::GetInstance().Create(name));
    return dynamic_cast<T*>(made.get()) != nullptr;
}

} // namespace

TEST(AudioTypes, TheFactoryMakesThemByTheirSavedNames)
{
    RegisterLogicTypes();
    EXPECT_TRUE(CreatesA<Engine::Emitter>("Engine::Emitter"));
    EXPECT_TRUE(CreatesA<Engine::Listener>("Engine::Listener"));
    EXPECT_TRUE(CreatesA<AudioLogic>("AudioLogic"));
    EXPECT_EQ(AudioLogic().RegisterType()->name, "AudioLogic");
}
