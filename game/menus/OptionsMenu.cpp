#include "game/menus/OptionsMenu.h"

#include "engine/audio/MasterVolume.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/HeldRepeat.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/SpriteRenderComp.h"
#include "engine/ui/TextComps.h"
#include "engine/ui/UiHost.h"
#include "game/config/UserConfig.h"
#include "game/match/GameScene.h"
#include "game/menus/LanguageAndPause.h"
#include "game/menus/MenuComps.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/WidgetKit.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

namespace {

// Text ids.
constexpr std::uint32_t kOptionsTitle = 2;
constexpr std::uint32_t kOff = 13;
constexpr std::uint32_t kOptionsBack = 9;
constexpr std::uint32_t kControllerForPlayer1 = 11;
constexpr std::uint32_t kSoundHeading = 66;
constexpr std::uint32_t kDisplayHeading = 67;
constexpr std::uint32_t kEffectsVolume = 68;
constexpr std::uint32_t kMusicVolume = 69;
constexpr std::uint32_t kFullscreen = 70;
constexpr std::uint32_t kResolution = 71;
constexpr std::uint32_t kVSync = 72;
constexpr std::uint32_t kLanguageLabel = 74;

constexpr float kRowGap = 0.01f;
constexpr float kSliderGap = 0.05f;
constexpr float kSliderHeight = 0.8f;
// A held Left or Right steps the volume at once, after this pause, then at
// this interval: a tap moves it one notch at any frame rate.
constexpr float kVolumeRepeatDelay = 0.4f;
constexpr float kVolumeRepeatInterval = 0.1f;

std::uint32_t gResolutionIndex = 1;

// What the value texts watch; refreshed every frame from the window and the
// renderer, which keep them in their own forms.
glm::uvec2 gShownWindowSize{0};
bool gShownVSync = false;
bool gNoWindowFullscreen = false;

void RefreshShownSettings()
{
    if (const Engine::Window* window = Engine::Window::Main())
        gShownWindowSize = glm::uvec2(static_cast<unsigned>(window->width), static_cast<unsigned>(window->height));
    gShownVSync = Engine::Renderer::GetInstance().GetVSync();
}

const bool* FullscreenFlag()
{
    const Engine::Window* window = Engine::Window::Main();
    return window ? &window->fullscreen : &gNoWindowFullscreen;
}

glm::uvec2 DisplaySize()
{
    SDL_DisplayMode mode{};
    if (SDL_GetCurrentDisplayMode(0, &mode) != 0)
        return kResolutions[0];
    return {static_cast<unsigned>(mode.w), static_cast<unsigned>(mode.h)};
}

// Which of `notches` equal parts of 0 to 1 the volume is nearest to; what
// is not a number counts as 0.
int VolumeNotch(float volume, int notches)
{
    const float kept = volume > 0.0f ? std::min(volume, 1.0f) : 0.0f;
    return static_cast<int>(std::lround(kept * static_cast<float>(notches)));
}

// Ties a volume row's label to its slider's steps, and keeps the rhythm of
// the key held on the row. Both belong to the page, so nothing of a slider
// outlives it.
class SliderStepsComp : public Engine::UI::IElemComp {
public:
    explicit SliderStepsComp(const Canvas& sliderSteps) : steps(sliderSteps) {}
    const Canvas& steps;
    Engine::UI::HeldRepeat keys{kVolumeRepeatDelay, kVolumeRepeatInterval};
};

VolumeSlider StepsIn(const Canvas& steps)
{
    VolumeSlider slider;
    for (IElement* step : steps.Children())
        slider.push_back(static_cast<Widget*>(step));
    return slider;
}

// A volume that stays as it is leaves the file alone: a key held at the
// end of the slider would otherwise rewrite it ten times a second.
void SetVolume(float& master, const VolumeSlider& slider, float volume)
{
    const float kept = std::clamp(volume, 0.0f, 1.0f);
    if (kept == master)
        return;
    master = kept;
    UserConfig::Save();
    ShowSlider(slider, master);
}

// Left or Right held on the focused row, as its layer read them; 0 else.
std::uint8_t HeldOnRow(Engine::UI::IElement& label)
{
    const auto* detector = label.GetComp<Engine::UI::DetectInteractionComp>();
    const Engine::UI::Layer* layer = label.GetRootLayer();
    if (!detector || !layer || !detector->IsFocused())
        return 0;
    return layer->direction & (Engine::UI::kLeft | Engine::UI::kRight) ? layer->direction : 0;
}

void StepVolume(Engine::UI::CustomUpdateComp& comp, float& master)
{
    auto* row = comp.owner->GetComp<SliderStepsComp>();
    if (!row)
        return;
    const std::uint8_t held = HeldOnRow(*comp.owner);
    // The seconds really held: the capped frame time would slow the repeat
    // below the cap's frame rate.
    const int steps = row->keys.Steps(held, Engine::UI::Host().UncappedFrameTime());
    if (steps == 0)
        return;
    float volume = master;
    for (int i = 0; i < steps; ++i)
        volume = SteppedVolume(volume, held);
    SetVolume(master, StepsIn(row->steps), volume);
}

// A step's slider is its parent's children.
void SetVolumeFromStep(float& master, std::uintptr_t step, const Engine::UI::RunActionOnInteractComp& comp)
{
    if (!comp.owner || !comp.owner->parent)
        return;
    const VolumeSlider slider = StepsIn(*comp.owner->parent);
    SetVolume(master, slider, VolumeOfStep(step, slider.size()));
}

// One row of the panel: the label, and under the panel the control's place
// in the right half at the label's height.
struct Row {
    Widget* label;
    glm::vec2 position;
    glm::vec2 size;
};

void MoveLabelLeft(Widget& label)
{
    label.position.x = -1.0f;
    label.anchor = glm::vec2(1.0f, 0.0f);
    label.SetRelativeSize(0.45f, 0);
    TextOf(label)->alignment = Engine::UI::BaseTextComp::kLeft;
}

Widget* ValueText(Canvas& panel, const Row& row)
{
    Widget* value = MakeLocaleTextWidget(panel, kOff, kPlain);
    Place(*value, {0.0f, row.position.y}, row.size, {1.0f, 0.0f});
    TextOf(*value)->alignment = Engine::UI::BaseTextComp::kLeft;
    return value;
}

void OnOffValue(Canvas& panel, const Row& row, const bool* watched)
{
    ValueText(panel, row)->MakeComp<DisplayVarAsTextComp<bool>>(watched);
}

void ResolutionValue(Canvas& panel, const Row& row)
{
    Widget* value = MakePureTextWidget(panel, u"", kPlain);
    Place(*value, {0.0f, row.position.y}, row.size, {1.0f, 0.0f});
    TextOf(*value)->alignment = Engine::UI::BaseTextComp::kLeft;
    TextOf(*value)->SetFont(Engine::UI::GetFontForLanguage(0));
    // Before the value texts after it in the panel look at what they watch.
    RunsEveryFrame(*value, [](Engine::UI::CustomUpdateComp&) { RefreshShownSettings(); });
    value->MakeComp<DisplayVarAsTextComp<glm::uvec2>>(&gShownWindowSize);
}

void Slider(Canvas& panel, const Row& row, ButtonAction action, float volume)
{
    Canvas& steps = MakeCanvas(panel, {row.size.x, row.size.y * kSliderHeight}, {0.0f, row.position.y}, {1.0f, 0.0f});
    row.label->MakeComp<SliderStepsComp>(steps);
    std::vector<IElement*> list;
    for (std::size_t i = 0; i < kSliderSteps; ++i) {
        auto* step = steps.Make<Widget>();
        step->MakeComp<Engine::UI::DetectInteractionComp>();
        AddSprite(*step, kDarkStepColour);
        Runs(*step, action, i);
        list.push_back(step);
    }
    SpreadHorizontally(list, kSliderGap);
    ShowSlider(StepsIn(steps), volume);
}

// What each row does. A row with a control shows it (or its value) in the
// right half, beside its label, which moves to the left half.
void MusicRow(Canvas& panel, const Row& row)
{
    MoveLabelLeft(*row.label);
    RunsEveryFrame(*row.label, &StepMusicVolume);
    Slider(panel, row, &SetMusicVolumeFromStep, Engine::MasterVolume::music);
}

void EffectsRow(Canvas& panel, const Row& row)
{
    MoveLabelLeft(*row.label);
    RunsEveryFrame(*row.label, &StepEffectsVolume);
    Slider(panel, row, &SetEffectsVolumeFromStep, Engine::MasterVolume::sfx);
}

void FullscreenRow(Canvas& panel, const Row& row)
{
    MoveLabelLeft(*row.label);
    Runs(*row.label, &Call<&ToggleFullscreen>);
    OnOffValue(panel, row, FullscreenFlag());
}

void ResolutionRow(Canvas& panel, const Row& row)
{
    MoveLabelLeft(*row.label);
    Runs(*row.label, &Call<&CycleResolution>);
    ResolutionValue(panel, row);
}

void VSyncRow(Canvas& panel, const Row& row)
{
    MoveLabelLeft(*row.label);
    Runs(*row.label, &Call<&ToggleVSync>);
    OnOffValue(panel, row, &gShownVSync);
}

void ControllerRow(Canvas& panel, const Row& row)
{
    MoveLabelLeft(*row.label);
    Runs(*row.label, &Call<&ToggleControllerForPlayer1>);
    OnOffValue(panel, row, &GameScene::PlayerUsesGamepad[0]);
}

void LanguageRow(Canvas&, const Row& row) { OpensLayer(*row.label, &BuildLanguageMenu, kLanguageLayer); }

// A row: its label's text and what it does; a heading does nothing.
struct OptionRow {
    std::uint32_t text;
    void (*wire)(Canvas& panel, const Row& row);
};

// Sound, then display, then the language, top to bottom. The resolution
// row's value refreshes what the value texts after it watch, so it comes
// before them.
constexpr OptionRow kOptionRows[] = {
    {kSoundHeading, nullptr},
    {kMusicVolume, &MusicRow},
    {kEffectsVolume, &EffectsRow},
    {kDisplayHeading, nullptr},
    {kFullscreen, &FullscreenRow},
    {kResolution, &ResolutionRow},
    {kVSync, &VSyncRow},
    {kControllerForPlayer1, &ControllerRow},
    {kLanguageLabel, &LanguageRow},
};

void BuildOptionsPanel(Canvas& padding)
{
    Widget* title = MakeLocaleTextWidget(padding, kOptionsTitle, kPlain);
    Place(*title, {0.0f, 1.0f}, {1.0f, 0.1f}, {0.0f, -1.0f});
    Canvas& panel = MakeCanvas(padding, {1.0f, 0.9f}, {0.0f, 0.8f}, {0.0f, -1.0f});

    std::vector<IElement*> labels;
    for (const OptionRow& row : kOptionRows)
        labels.push_back(MakeLocaleTextWidget(panel, row.text, row.wire ? kInteractive : kPlain));
    SpreadVertically(labels, kRowGap);

    for (std::size_t i = 0; i < std::size(kOptionRows); ++i) {
        auto* label = static_cast<Widget*>(labels[i]);
        if (kOptionRows[i].wire)
            kOptionRows[i].wire(panel, {label, label->position, {0.5f, label->relativeSize.y}});
    }
}

} // namespace

std::uint32_t ResolutionIndexOf(const glm::uvec2& windowSize)
{
    const auto found = std::find(kResolutions.begin(), kResolutions.end(), windowSize);
    return static_cast<std::uint32_t>(found - kResolutions.begin());
}

ResolutionStep NextResolution(std::uint32_t index, const glm::uvec2& displaySize)
{
    const std::uint32_t next = index + 1 < kResolutionCount ? index + 1 : 0;
    const glm::uvec2 size = kResolutions[next];
    if (size.x <= displaySize.x && size.y <= displaySize.y)
        return {next, size};
    return {0, kResolutions[0]};
}

void OfferResolutionsToWindow()
{
    std::vector<std::pair<int, int>> sizes;
    for (const glm::uvec2& size : kResolutions)
        sizes.emplace_back(static_cast<int>(size.x), static_cast<int>(size.y));
    Engine::Window::OfferSizes(std::move(sizes));
}

std::uint32_t& ResolutionIndex() { return gResolutionIndex; }

float SteppedVolume(float volume, std::uint8_t directionMask)
{
    if (!(directionMask & (Engine::UI::kLeft | Engine::UI::kRight)))
        return volume;
    // Counted in whole notches: steps of 0.05 added in floats drift off the
    // notches, and down from 0.15 would stop short of 0.
    const int step = directionMask == Engine::UI::kRight ? 1 : -1;
    const int notch = std::clamp(VolumeNotch(volume, kVolumeNotches) + step, 0, kVolumeNotches);
    return static_cast<float>(notch) / static_cast<float>(kVolumeNotches);
}

float VolumeOfStep(std::size_t step, std::size_t stepCount)
{
    if (stepCount < 2)
        return 1.0f;
    return std::clamp(static_cast<float>(step) / static_cast<float>(stepCount - 1), 0.0f, 1.0f);
}

VolumeSlider SliderOf(const IElement& label)
{
    const auto* link = label.GetComp<SliderStepsComp>();
    return link ? StepsIn(link->steps) : VolumeSlider{};
}

void ShowSlider(const VolumeSlider& slider, float value)
{
    const std::size_t n = slider.size();
    // The step nearest the value: a float a hair below its share still
    // lights it.
    const int lastLit = n > 1 ? VolumeNotch(value, static_cast<int>(n - 1)) : 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (auto* sprite = slider[i]->GetComp<Engine::UI::SpriteRenderComp>())
            sprite->colour = static_cast<int>(i) <= lastLit ? kLitStepColour : kDarkStepColour;
    }
}

void ToggleFullscreen()
{
    if (Engine::Window* window = Engine::Window::Main())
        window->ToggleFullscreen();
    UserConfig::Save();
}

void CycleResolution()
{
    const ResolutionStep step = NextResolution(gResolutionIndex, DisplaySize());
    gResolutionIndex = step.index;
    if (Engine::Window* window = Engine::Window::Main())
        window->SetResolution({static_cast<int>(step.size.x), static_cast<int>(step.size.y)});
    UserConfig::ResolutionChosen();
    UserConfig::Save();
}

void ToggleVSync()
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.SetVSync(!renderer.GetVSync());
    UserConfig::Save();
}

void ToggleControllerForPlayer1() { GameScene::PlayerUsesGamepad[0] = !GameScene::PlayerUsesGamepad[0]; }

void StepEffectsVolume(Engine::UI::CustomUpdateComp& comp) { StepVolume(comp, Engine::MasterVolume::sfx); }

void StepMusicVolume(Engine::UI::CustomUpdateComp& comp) { StepVolume(comp, Engine::MasterVolume::music); }

void SetEffectsVolumeFromStep(std::uintptr_t step, Engine::UI::RunActionOnInteractComp& comp)
{
    SetVolumeFromStep(Engine::MasterVolume::sfx, step, comp);
}

void SetMusicVolumeFromStep(std::uintptr_t step, Engine::UI::RunActionOnInteractComp& comp)
{
    SetVolumeFromStep(Engine::MasterVolume::music, step, comp);
}

void BuildOptionsMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Canvas& padding = MakeCentralPanel(root);
    RefreshShownSettings();
    gResolutionIndex = ResolutionIndexOf(gShownWindowSize);
    PushTextStyle(kSettingsTextSize);
    BuildOptionsPanel(padding);
    build.focus = MakeBackButton(root);
    PopTextStyle(1);
}

} // namespace LayerCreator
