#pragma once
#include "engine/core/EntityHandle.h"

#include <cstdint>

namespace Engine {
class ParticleEmitter;
}

// One-shot particle bursts: a ball's sparks, the teleport's trail.
namespace ParticleBurst {

// The entity's particle emitter; when it has none, a new one only if `make`
// is set and a GL context is there to hold its buffers. Null otherwise.
Engine::ParticleEmitter* EmitterOf(Engine::EntityHandle entity, bool make);

// Readies one burst of `count` particles, drawn as "Point" quads, fired at
// the emitter's next update. The slots are replaced only when their number
// differs, so particles still flying keep flying.
void Arm(Engine::ParticleEmitter& emitter, std::uint32_t count);

} // namespace ParticleBurst
