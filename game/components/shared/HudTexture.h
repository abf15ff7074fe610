#pragma once
#include "engine/core/EntityHandle.h"

#include <glm/glm.hpp>
#include <string>

// A new HUD entity: a transform at `at` in its camera's canvas, `scale` big,
// and a HUD component that every camera sees and that shows no texture yet.
// The null handle when no entity is left.
Engine::EntityHandle MakeHudEntity(const glm::vec3& at, const glm::vec3& scale);

// Shows the named texture on the entity's HUD component (the empty name
// shows none); an entity without one is left alone.
void ShowHudTexture(Engine::EntityHandle hud, const std::string& name);
