#pragma once
#include <glm/glm.hpp>

namespace Engine {

// What a shape-pair test reports about a touching pair.
struct ContactInfo {
    // World space.
    glm::vec3 point{0.0f};
    // Points from body A (the first entity of the test) towards body B.
    glm::vec3 normal{0.0f};
    // How far the bodies overlap along the normal; each test says exactly
    // what it measures.
    float depth = 0.0f;
};

} // namespace Engine
