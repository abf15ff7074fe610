#include "engine/audio/SoundSystem.h"
#include "engine/frame/Core.h"
#include "engine/logic/Factory.h"
#include "game/match/RegisterLogicTypes.h"
#include "game/match/StartupScreens.h"

int main(int, char**)
{
    // Before anything else: the engine runs it during Init.
    Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);

    Engine::Core& core = Engine::Core::GetInstance();
    core.InitWindow();
    core.Init();

    ShowLogoSplash();
    ShowLoadingBar();

    while (core.Update()) {
    }

    core.Shutdown();
    if (DummySoundSystem* sound = SoundSystem::GetInstance())
        sound->Shutdown();
    return 0;
}
