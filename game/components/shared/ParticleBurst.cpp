#include "game/components/shared/ParticleBurst.h"

#include "engine/render/ParticleEmitterManager.h"

#include <GL/glew.h>

namespace ParticleBurst {

Engine::ParticleEmitter* EmitterOf(Engine::EntityHandle entity, bool make)
{
    if (entity.IsNull())
        return nullptr;
    Engine::ParticleEmitterManager& emitters = Engine::ParticleEmitterManager::GetInstance();
    if (emitters.HasComponent(entity))
        return emitters.GetCompPtr(entity);
    // Without a context (tools, benchmarks) there is nothing to draw with.
    return make && glGenBuffers ? emitters.GetCompPtr(entity) : nullptr;
}

void Arm(Engine::ParticleEmitter& emitter, std::uint32_t count)
{
    if (emitter.GetParticles().size() != count)
        emitter.SetMaxParticles(count);
    // The spawner names the quad and its program; an emitter made without
    // them still draws.
    if (emitter.textureName != "Point" || emitter.modelName.empty() || emitter.programName.empty()) {
        emitter.textureName = "Point";
        if (emitter.modelName.empty())
            emitter.modelName = "Quad";
        if (emitter.programName.empty())
            emitter.programName = "Particle";
        emitter.LoadResources();
    }
    emitter.burst = true;
    emitter.burstsLeft = 1;
    emitter.burstTimer = emitter.burstInterval;
}

} // namespace ParticleBurst
