#include "game/modes/StartupScreens.h"

#include "engine/audio/Sound.h"
#include "engine/audio/SoundSystem.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/render/Renderer.h"

#include <SDL.h>

namespace {

constexpr double kLogoSeconds = 3.0;
constexpr double kBarFillSeconds = 2.9;
constexpr double kBarHoldUntilSeconds = 3.12;
constexpr float kBarSoundVolume = 0.4f;

constexpr int kFirstSkipKey = SDL_SCANCODE_A;
constexpr int kLastSkipKey = SDL_SCANCODE_UP;
constexpr int kLastSkipButton = SDL_CONTROLLER_BUTTON_DPAD_RIGHT;

// Time is measured from here: the work done before (resource loading) must
// not count as the first frame.
void RestartFrameClock()
{
    Engine::FrameRateController::EndFrame();
    Engine::FrameRateController::EndFrame();
}

void PumpInputAndPace()
{
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    input.EndFrame();
    input.Update();
    Engine::FrameRateController::EndFrame();
}

// A window closed during the logo or the bar ends them: the run then ends
// before the title, instead of seconds later with the bar's sound played
// to the end.
bool QuitRequested() { return Engine::InputManager::GetInstance().IsQuitRequested(); }

bool AnyControllerButtonTriggered(const Engine::InputManager& input)
{
    for (const auto& [id, controller] : input.GetPlayerControllers()) {
        for (int button = 0; button <= kLastSkipButton; ++button) {
            if (input.IsControllerButtonTriggered(static_cast<std::uint8_t>(button), controller))
                return true;
        }
    }
    return false;
}

// Silent while another window has the keyboard.
void SetBarVolume(DummySoundSystem& sound, Sound& bar)
{
    const bool focused = Engine::InputManager::GetInstance().HasKeyboardFocus();
    sound.SetVolume(bar, focused ? kBarSoundVolume : 0.0f);
}

} // namespace

float LogoOverlayOpacity(double seconds)
{
    const float shown = static_cast<float>(seconds / kLogoSeconds);
    return 1.0f - shown * shown;
}

bool LogoSkipRequested()
{
    const Engine::InputManager& input = Engine::InputManager::GetInstance();
    for (int key = kFirstSkipKey; key <= kLastSkipKey; ++key) {
        if (input.IsKeyTriggered(key))
            return true;
    }
    return input.IsMouseTriggered(0) || input.IsMouseTriggered(1) || AnyControllerButtonTriggered(input);
}

double ShowLogoSplash()
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    RestartFrameClock();
    double t = 0.0;
    bool skipped = false;
    while (!skipped && t < kLogoSeconds && !QuitRequested()) {
        t += Engine::FrameRateController::GetDt();
        renderer.DrawSplash(LogoOverlayOpacity(t));
        skipped = LogoSkipRequested();
        PumpInputAndPace();
    }
    return t;
}

double ShowLoadingBar()
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    DummySoundSystem& sound = SoundSystem::InstanceOrSilent();
    Sound bar("data/Sounds/Music/loading_bar.wav");
    sound.Play(bar, false, false);
    SetBarVolume(sound, bar);

    RestartFrameClock();
    double t = 0.0;
    while (t < kBarFillSeconds && !QuitRequested()) {
        SetBarVolume(sound, bar);
        t += Engine::FrameRateController::GetDt();
        renderer.DrawLoadingBar(static_cast<float>(t / kBarFillSeconds));
        PumpInputAndPace();
    }
    while (t < kBarHoldUntilSeconds && !QuitRequested()) {
        SetBarVolume(sound, bar);
        t += Engine::FrameRateController::GetDt();
        PumpInputAndPace();
    }
    return t;
}
