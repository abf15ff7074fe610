#pragma once
#include "engine/core/EntityHandle.h"

#include <string>

// Shows the named texture on the entity's HUD component (the empty name
// shows none); an entity without one is left alone.
void ShowHudTexture(Engine::EntityHandle hud, const std::string& name);
