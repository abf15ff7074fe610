#pragma once
#include "engine/ui/Layer.h"

namespace LayerCreator {

// The layer "PauseMenu" that the gameplay mode pushes: a small panel in the
// middle of the window whose button resumes play.
void BuildPauseMenu(Engine::UI::LayerBuild& build);

} // namespace LayerCreator
