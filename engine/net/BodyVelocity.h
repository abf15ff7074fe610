#pragma once
#include "engine/core/EntityHandle.h"

#include <glm/vec3.hpp>

// The link reads and writes the velocity of physics bodies, which live in
// the collision system above this library; the engine installs the lookup
// when it starts. Without one, or for an entity without a body, a read
// gives zero and a write goes nowhere.
namespace Net {

using VelocityLookup = glm::vec3* (*)(Engine::EntityHandle entity);

void SetVelocityLookup(VelocityLookup lookup);
glm::vec3 ReadVelocity(Engine::EntityHandle entity);
void WriteVelocity(Engine::EntityHandle entity, const glm::vec3& velocity);

} // namespace Net
