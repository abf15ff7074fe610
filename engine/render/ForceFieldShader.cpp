#include "engine/render/ForceFieldShader.h"

namespace Engine {

void ForceFieldShader::SetView(const glm::vec3& eye, const glm::vec3& target) const
{
    glm::vec3 toTarget = target - eye;
    glm::vec3 dir = toTarget / glm::length(toTarget);
    SetUniform("uViewDir", dir.x, dir.y, dir.z);
    SetUniform("uViewPos", eye.x, eye.y, eye.z);
}

} // namespace Engine
