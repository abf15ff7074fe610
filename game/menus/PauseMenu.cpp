#include "game/menus/PauseMenu.h"

#include "engine/ui/InteractionComps.h"
#include "game/menus/WidgetKit.h"

namespace LayerCreator {

namespace {

constexpr std::uint32_t kResumeText = 80;
constexpr glm::vec2 kPanelSize{0.3f, 0.45f};

} // namespace

// For now the panel holds the resume button only; the options and the way
// back to the title join it with the other menus.
void BuildPauseMenu(Engine::UI::LayerBuild& build)
{
    build.root = std::make_unique<Engine::UI::Canvas>();
    build.root->SetRelativeSize(glm::vec2(1.0f));
    auto* panel = build.root->Make<Engine::UI::Canvas>();
    panel->SetRelativeSize(kPanelSize);
    panel->SetSizeMode(Engine::UI::IElement::kAbsolute);
    Engine::UI::Widget* resume = MakeLocaleTextWidget(*panel, kResumeText, kButton);
    resume->MakeComp<Engine::UI::PopLayerOnInteractComp>();
    build.focus = resume;
}

} // namespace LayerCreator
