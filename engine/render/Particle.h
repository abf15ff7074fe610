#pragma once
#include <glm/glm.hpp>

namespace Engine {

// The bounds between which a spawned particle draws each of its values,
// component by component: minimum + Random01 x (maximum - minimum).
struct ParticleEmitterRange {
    float lifetime = 1.0f; // seconds
    glm::vec3 startVelocity{-10.0f, 10.0f, -5.0f};
    glm::vec3 endVelocity{0.0f};
    glm::vec3 scale{1.0f};
    glm::vec3 endScale{1.0f};
    glm::vec4 startColour{1.0f, 1.0f, 0.0f, 0.5f};
    glm::vec4 endColour{1.0f, 0.0f, 0.0f, 0.0f};
    float startSpinRate = 0.0f; // degrees per update
    float endSpinRate = 0.0f;
};

// One slot of an emitter. Velocity, colour and spin rate move from their
// start to their end value over the particle's lifetime.
struct Particle {
    bool alive = false;
    float age = 0.0f;
    float lifetime = 0.0f;
    glm::vec3 startVelocity{0.0f};
    glm::vec3 endVelocity{0.0f};
    glm::vec3 scale{0.0f};
    // Drawn (keeping the random sequence) but unused: the size stays the
    // start scale.
    glm::vec3 endScale{0.0f};
    glm::vec4 startColour{0.0f};
    glm::vec4 endColour{0.0f};
    float startSpinRate = 0.0f;
    float endSpinRate = 0.0f;
    glm::vec4 colour{0.0f};
    glm::vec3 position{0.0f};
    glm::vec3 size{0.0f};
    float spin = 0.0f; // degrees about the view axis
};

} // namespace Engine
