#pragma once
#include "engine/ui/Element.h"
#include "engine/ui/InteractionComps.h"
#include "game/menus/MenuLayers.h"

#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

// The options page and its settings: window sizes, volumes and their
// sliders.
namespace LayerCreator {

void BuildOptionsMenu(LayerBuild& build);

// The window sizes the resolution row steps through; kResolutionCount
// stands for a size that is not in the table.
inline constexpr std::array<glm::uvec2, 4> kResolutions{{{1280, 720}, {1600, 900}, {1920, 1080}, {3840, 2160}}};
inline constexpr std::uint32_t kResolutionCount = 4;

// The first table entry equal to the size; kResolutionCount when none is.
std::uint32_t ResolutionIndexOf(const glm::uvec2& windowSize);

struct ResolutionStep {
    std::uint32_t index;
    glm::uvec2 size;
};
// The entry after `index`, or the first after the last. One larger than the
// display in either direction starts again from the first.
ResolutionStep NextResolution(std::uint32_t index, const glm::uvec2& displaySize);

// Hands the table down to the window: a stored size that does not fit the
// display opens at the largest entry that does. Called before the
// configuration is first read.
void OfferResolutionsToWindow();

// The resolution row's current index; set when the page is built.
std::uint32_t& ResolutionIndex();

// Volumes sit on twentieths: 0, 0.05, ... 1.
inline constexpr int kVolumeNotches = 20;
// The volume after one step of a held direction: up for right alone, down
// for anything else with left or right in it; unchanged without either.
// Lands on the notch next to the nearest one, within 0 to 1.
float SteppedVolume(float volume, std::uint8_t directionMask);
// Step i of n sets the volume i / (n - 1).
float VolumeOfStep(std::size_t step, std::size_t stepCount);

// The steps of one volume slider, left to right.
using VolumeSlider = std::vector<Engine::UI::Widget*>;
// The slider beside a volume row's label, as the page holds it now; empty
// for any other element.
VolumeSlider SliderOf(const Engine::UI::IElement& label);
inline constexpr std::size_t kSliderSteps = 21;
inline constexpr glm::vec4 kLitStepColour{0.2f, 1.0f, 1.0f, 1.0f};
inline constexpr glm::vec4 kDarkStepColour{0.5f, 0.5f, 0.5f, 1.0f};
// Lights the steps up to the one nearest the value; step 0 is always lit.
void ShowSlider(const VolumeSlider& slider, float value);

// Options actions; each change the configuration keeps is saved at once.
void ToggleFullscreen();
void CycleResolution();
void ToggleVSync();
void ToggleControllerForPlayer1();
void StepEffectsVolume(Engine::UI::CustomUpdateComp& comp);
void StepMusicVolume(Engine::UI::CustomUpdateComp& comp);
void SetEffectsVolumeFromStep(std::uintptr_t step, Engine::UI::RunActionOnInteractComp& comp);
void SetMusicVolumeFromStep(std::uintptr_t step, Engine::UI::RunActionOnInteractComp& comp);

} // namespace LayerCreator
