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
    glm::mat4 GetModelMatrix() const { return ModelMatrix(pos, scale, forward, up); }
    static glm::mat4 GetModelMatrix(const Transform3D& transform) { return transform.GetModelMatrix(); }

    // The same matrix from separate values; inline, since the transform
    // manager builds one per dirty entry every frame.
    static glm::mat4 ModelMatrix(const glm::vec3& pos, const glm::vec3& scale, const glm::vec3& forward,
                                 const glm::vec3& up)
    {
        glm::mat4 model(1.0f);
        model[0] = glm::vec4(glm::cross(up, forward) * scale.x, 0.0f);
        model[1] = glm::vec4(up * scale.y, 0.0f);
        model[2] = glm::vec4(forward * scale.z, 0.0f);
        model[3] = glm::vec4(pos, 1.0f);
        return model;
    }
};

void to_json(nlohmann::json& j, const Transform3D& transform);
// All four members are read before any is stored.
void from_json(const nlohmann::json& j, Transform3D& transform);

} // namespace Engine
