#pragma once
#include "engine/core/EntityHandle.h"

#include <string>

namespace GameScene {

// A turret's ball under the given name: a lit white sphere tagged "Ball"
// with a body that falls and bounces like any ball, at the origin and at
// rest until its turret aims it. Null when no entity is free.
Engine::EntityHandle CreateTurretBall(const std::string& name);

} // namespace GameScene
