#include "engine/ui/MenuSounds.h"

#include "engine/audio/MasterVolume.h"
#include "engine/audio/Sound.h"
#include "engine/audio/SoundSystem.h"

#include <string>

namespace Engine::UI {

namespace {

const char* const kClickPath = "data/Sounds/Sfx/OnClickMenu2.wav";
const char* const kHoverPath = "data/Sounds/Sfx/HoveringOnMenu.wav";

std::unique_ptr<Sound> gClick;
std::array<std::unique_ptr<Sound>, MenuSounds::kHoverCount> gHovers;
int gHoverCounter = 1;

void PlayOnce(Sound* sound, float gain)
{
    if (!sound)
        return;
    DummySoundSystem& audio = SoundSystem::InstanceOrSilent();
    audio.Play(*sound, false, false);
    audio.SetVolume(*sound, MasterVolume::sfx * gain);
}

} // namespace

void MenuSounds::Make()
{
    Release();
    gClick = std::make_unique<Sound>(kClickPath);
    for (std::size_t i = 0; i < gHovers.size(); ++i) {
        gHovers[i] = std::make_unique<Sound>(kHoverPath);
        // One file, five sounds: each keeps its own channel, so quick focus
        // moves overlap instead of cutting each other off.
        gHovers[i]->name = "HoveringOnMenu" + std::to_string(i + 1);
    }
}

void MenuSounds::Release()
{
    gClick.reset();
    for (auto& hover : gHovers)
        hover.reset();
}

void MenuSounds::PlayClick() { PlayOnce(gClick.get(), kClickGain); }

void MenuSounds::PlayHover()
{
    PlayOnce(gHovers[static_cast<std::size_t>(gHoverCounter - 1)].get(), kHoverGain);
    gHoverCounter = gHoverCounter >= kHoverCount ? 1 : gHoverCounter + 1;
}

int MenuSounds::HoverCounter() { return gHoverCounter; }

} // namespace Engine::UI
