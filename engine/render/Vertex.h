#pragma once
#include <glm/glm.hpp>

namespace Engine {

// One vertex of a static mesh. Attribute locations 0 to 4 in member order;
// instanced drawing adds its per-instance attributes from location 5 up.
struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec2 uv{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec3 tangent{0.0f};
    glm::vec3 bitangent{0.0f};
};
static_assert(sizeof(Vertex) == 56, "the vertex layout is shared with the shaders");

// The animated vertex: the static five, then two attributes (locations 5
// and 6) that the loader leaves at zero.
struct VertexAnim {
    glm::vec3 position{0.0f};
    glm::vec2 uv{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec3 tangent{0.0f};
    glm::vec3 bitangent{0.0f};
    glm::vec3 extra0{0.0f};
    glm::vec3 extra1{0.0f};
};
static_assert(sizeof(VertexAnim) == 80, "the vertex layout is shared with the shaders");

} // namespace Engine
