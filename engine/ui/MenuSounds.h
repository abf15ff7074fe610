#pragma once
#include <array>
#include <memory>

class Sound;

namespace Engine::UI {

// The click of an activation and the five hover sounds that focus changes
// play in turn. The game modes make them after each sound-system start;
// until then the menus are silent.
class MenuSounds {
public:
    static constexpr int kHoverCount = 5;
    static constexpr float kClickGain = 0.6f;
    static constexpr float kHoverGain = 0.4f;

    MenuSounds() = delete;

    // Replaces the six sounds with new ones from "data/Sounds/Sfx/".
    static void Make();
    static void Release();

    // At the effects master volume times the click or hover gain.
    static void PlayClick();
    // The hover sound the counter points at; the counter runs 1 to 5 and
    // back to 1.
    static void PlayHover();
    static int HoverCounter();
};

} // namespace Engine::UI
