#include "game/match/ModeSteps.h"

#include "engine/audio/SoundSystem.h"
#include "engine/render/Window.h"
#include "engine/ui/MenuSounds.h"
#include "engine/ui/UserConfig.h"

void ResetSceneSound()
{
    Engine::UI::MenuSounds::Release();
    if (DummySoundSystem* sound = SoundSystem::GetInstance())
        sound->Shutdown();
    SoundSystem::Create();
    Engine::UI::MenuSounds::Make();
}

void ToggleFullscreenAndSave()
{
    if (Engine::Window* window = Engine::Window::Main())
        window->ToggleFullscreen();
    UserConfig::Save();
}
