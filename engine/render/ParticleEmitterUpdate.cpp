#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/ParticleEmitter.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/constants.hpp>

namespace Engine {

namespace {

// The owner's own (local) position; the origin without a transform.
glm::vec3 OwnerPosition(EntityHandle owner)
{
    using Entries = TransformCompManager::Entries;
    const glm::vec3* position = TransformCompManager::GetInstance().ValuePtr(owner, &Entries::positions);
    return position ? *position : glm::vec3(0.0f);
}

} // namespace

void ParticleEmitter::Update(float dt)
{
    AgeParticles(dt);
    Spawn(SpawnCount(dt));
}

void ParticleEmitter::AgeParticles(float dt)
{
    for (Particle& particle : mParticles) {
        if (!particle.alive)
            continue;
        const float t = particle.age / particle.lifetime;
        // A lifetime of 0 (t = NaN) or a position gone to NaN would keep a
        // particle alive forever.
        if (!(t < 1.0f) || !(particle.lifetime > 0.0f) || !Math::IsFinite(particle.position)) {
            particle.alive = false;
            --mLiveCount;
            continue;
        }
        if (moveParticles)
            particle.position += Math::Lerp(particle.startVelocity, particle.endVelocity, t) * dt;
        particle.colour = Math::Lerp(particle.startColour, particle.endColour, t);
        particle.spin += Math::Lerp(particle.startSpinRate, particle.endSpinRate, t);
        particle.age += dt;
    }
}

int ParticleEmitter::SpawnCount(float dt)
{
    const int free = static_cast<int>(mParticles.size()) - mLiveCount;
    if (burst) {
        if (burstsLeft <= 0)
            return 0;
        if (burstTimer < burstInterval) {
            burstTimer += dt;
            return 0;
        }
        burstTimer = 0.0f;
        --burstsLeft;
        return free;
    }
    if (emissionCount == -1)
        return free;
    // Any other negative count spawns nothing; INT_MIN would overflow below.
    if (emissionCount < 0)
        return 0;
    return std::min(free - emissionCount, emissionCount);
}

// Into the first dead slots in array order.
void ParticleEmitter::Spawn(int count)
{
    std::size_t next = 0;
    for (int k = 0; k < count && static_cast<std::size_t>(k) < mParticles.size(); ++k) {
        while (next < mParticles.size() && mParticles[next].alive)
            ++next;
        if (next == mParticles.size())
            return;
        SpawnInto(mParticles[next++]);
    }
}

glm::vec3 ParticleEmitter::SpawnPosition() const
{
    switch (shape) {
    case kParticleSphere: {
        const float theta = Random::RangeFloat(0.0f, glm::pi<float>());
        const float phi = Random::RangeFloat(0.0f, 2.0f * glm::pi<float>());
        const float r = randomRadius ? Random::Random01() : 1.0f;
        const glm::vec3 centre = followOwner ? OwnerPosition(owner) : pointA;
        return centre + glm::vec3(std::cos(theta) * std::sin(phi) * radii.x * r,
                                  std::sin(theta) * std::sin(phi) * radii.y * r, std::cos(phi) * radii.z * r);
    }
    case kParticleSegment: {
        const glm::vec3 start = followOwner ? OwnerPosition(owner) : pointA;
        return start + (pointB - start) * Random::Random01();
    }
    case kParticlePoint:
        return followOwner ? Transform::GetWorldPosition(owner) : pointA;
    default:
        return glm::vec3(0.0f);
    }
}

void ParticleEmitter::SpawnInto(Particle& particle)
{
    const glm::vec3 position = SpawnPosition();
    const ParticleEmitterRange& lo = minimum;
    const ParticleEmitterRange& hi = maximum;
    particle.startVelocity = Random::RangeVec3(lo.startVelocity, hi.startVelocity);
    particle.endVelocity = Random::RangeVec3(lo.endVelocity, hi.endVelocity);
    particle.scale = Random::RangeVec3(lo.scale, hi.scale);
    particle.endScale = Random::RangeVec3(lo.endScale, hi.endScale);
    particle.startColour = Random::RangeVec4(lo.startColour, hi.startColour);
    particle.endColour = Random::RangeVec4(lo.endColour, hi.endColour);
    particle.startSpinRate = Random::RangeFloat(lo.startSpinRate, hi.startSpinRate);
    particle.endSpinRate = Random::RangeFloat(lo.endSpinRate, hi.endSpinRate);
    particle.lifetime = Random::RangeFloat(lo.lifetime, hi.lifetime);
    particle.age = 0.0f;
    particle.alive = true;
    particle.colour = particle.startColour;
    particle.position = position;
    particle.size = particle.scale;
    ++mLiveCount;
}

} // namespace Engine
