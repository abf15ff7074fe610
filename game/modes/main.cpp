#include "engine/audio/SoundSystem.h"
#include "engine/frame/Core.h"
#include "engine/logic/Factory.h"
#include "engine/platform/FileSizeSignal.h"
#include "engine/platform/StandardStreams.h"
#include "engine/render/Renderer.h"
#include "engine/ui/MenuSounds.h"
#include "game/config/GameText.h"
#include "game/config/UserConfig.h"
#include "game/match/RegisterLogicTypes.h"
#include "game/menus/OptionsMenu.h"
#include "game/modes/GameMode.h"
#include "game/modes/StartupChecks.h"
#include "game/modes/StartupScreens.h"

#include <cstdio>

namespace {

// Ends the start with the reason, before any window shows.
int RefuseToStart(const std::string& problem)
{
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
}

} // namespace

int main(int, char**)
{
    Engine::Platform::FillClosedStandardDescriptors();
    Engine::Platform::KeepOutputInWholeLines();
    Engine::Platform::IgnoreFileSizeSignal();
    if (const std::string problem = DataFolderProblem(); !problem.empty())
        return RefuseToStart(problem);
    if (const std::string problem = DisplayProblem(); !problem.empty())
        return RefuseToStart(problem);
    // Before anything else: the engine runs it during Init.
    Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);

    Engine::Core& core = Engine::Core::GetInstance();
    core.InitWindow();
    LayerCreator::OfferResolutionsToWindow();
    UserConfig::Load();
    core.Init();
    // The table selects language 0 as it loads; the stored choice follows.
    GameText::Load();
    UserConfig::ApplyStoredLanguage();
    Engine::UI::MenuSounds::Make();

    ShowLogoSplash();
    ShowLoadingBar();

    GameMode::Pending = GameMode::Title;
    Engine::Renderer::GetInstance().overlayCallback = &GameMode::RenderUILayers;
    GameMode::Run();

    core.Shutdown();
    if (DummySoundSystem* sound = SoundSystem::GetInstance())
        sound->Shutdown();
    return 0;
}
