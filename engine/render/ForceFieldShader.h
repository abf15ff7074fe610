#pragma once
#include "engine/render/ShaderProgram.h"

namespace Engine {

// Transparent shells whose look depends on where they are seen from: before
// each draw they receive the viewing direction and the eye position.
class ForceFieldShader : public ShaderProgram {
public:
    using ShaderProgram::ShaderProgram;

    // The camera's eye and the direction it looks in.
    void BeforeDraw(const Camera& camera) const override;

    // Sets "uViewDir" (unit vector from eye to target) and "uViewPos". A
    // target on the eye leaves "uViewDir" as it was.
    void SetView(const glm::vec3& eye, const glm::vec3& target) const;
};

} // namespace Engine
