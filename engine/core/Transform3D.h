#pragma once
#include <glm/glm.hpp>
#include <nlohmann/json_fwd.hpp>

namespace Engine {

// Position, per-axis scale and the forward and up directions of an object.
// JSON: {"forward": vec3, "pos": vec3, "scale": vec3, "up": vec3}.
struct Transform3D {
    // All zero until the owner sets them.
    glm::vec3 pos{0.0f};
    glm::vec3 scale{0.0f};
    glm::vec3 forward{0.0f};
    glm::vec3 up{0.0f};

    // Exact float comparison of all twelve floats.
    bool operator==(const Transform3D& other) const;

    // translate(pos) * R * scale(scale), R's columns being right = up x forward,
    // up and forward as stored: nothing is normalised or re-orthogonalised, so
    // a skewed basis stays skewed.
    glm::mat4 GetModelMatrix() const;
    static glm::mat4 GetModelMatrix(const Transform3D& transform) { return transform.GetModelMatrix(); }
};

void to_json(nlohmann::json& j, const Transform3D& transform);
// All four members are read before any is stored.
void from_json(const nlohmann::json& j, Transform3D& transform);

} // namespace Engine
