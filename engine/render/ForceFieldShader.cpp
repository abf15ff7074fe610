#include "engine/render/ForceFieldShader.h"

#include "engine/render/Camera.h"

namespace Engine {

void ForceFieldShader::BeforeDraw(const Camera& camera) const
{
    glm::vec3 eye = camera.mPos.value;
    glm::vec3 target = camera.mTarget.value;
    // A camera parked on its target still looks along its last forward.
    if (target == eye)
        target = eye + camera.forward;
    SetView(eye, target);
}

void ForceFieldShader::SetView(const glm::vec3& eye, const glm::vec3& target) const
{
    glm::vec3 toTarget = target - eye;
    float length = glm::length(toTarget);
    if (length > 0.0f)
        SetUniform("uViewDir", toTarget / length);
    SetUniform("uViewPos", eye);
}

} // namespace Engine
