#pragma once
#include "engine/logic/Event.h"

#include <glm/vec3.hpp>

namespace Engine {

// One side of a contact between two bodies; each side receives its own.
struct CollisionEvent : LogicEvent {
    // The other entity of the contact; null for the arena itself.
    EntityHandle other;
    // World-space contact point.
    glm::vec3 point{0.0f};
    // Points from the receiving entity towards the other.
    glm::vec3 normal{0.0f};
    float depth = 0.0f;
};

} // namespace Engine
