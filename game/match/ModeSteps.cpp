#include "game/match/ModeSteps.h"

#include "engine/audio/SoundSystem.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "engine/ui/MenuSounds.h"
#include "engine/ui/UserConfig.h"
#include "game/match/Palette.h"

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

void ApplyPaletteToRenderer()
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.SetSelectionColours(CurrentPalette.Colour(SelBordCol), CurrentPalette.Value(SelRadius),
                                 CurrentPalette.Colour(BordCol));
    renderer.emissiveColour = CurrentPalette.Colour(BorderEmissive);
}
