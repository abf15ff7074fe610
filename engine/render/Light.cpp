#include "engine/render/Light.h"

#include "engine/core/Math.h"
#include "engine/core/Transform.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace Engine {

Light::Light()
    : mShadowMap(std::make_unique<Framebuffer>(AttachmentType::Depth, kShadowMapSize, kShadowMapSize)),
      mShadowCube(std::make_unique<ShadowCubeMap>(kShadowCubeSize))
{
}

glm::vec3 Light::GetPosition() const
{
    return Transform::GetWorldPosition(owner);
}

glm::mat4 Light::GetProjectionMatrix() const
{
    const float focal = 1.0f / std::tan(mOuterAngle.value * Math::kDegreesToRadians);
    const float n = mNear.value;
    const float f = mFar.value;
    glm::mat4 projection(0.0f);
    projection[0][0] = focal;
    projection[1][1] = focal;
    projection[2][2] = -(f + n) / (f - n);
    projection[2][3] = -1.0f;
    projection[3][2] = -(2.0f * f * n) / (f - n);
    return projection;
}

glm::mat4 Light::GetViewMatrix() const
{
    glm::vec3 direction = mDirection.value;
    if (!(glm::dot(direction, direction) > 0.0f))
        direction = glm::vec3(0.0f, 0.0f, -1.0f);
    const glm::vec3 along = glm::normalize(direction);
    const glm::vec3 upVector = std::abs(along.y) > 0.9999f ? glm::vec3(0.0f, 0.0f, 1.0f) : glm::vec3(0.0f, 1.0f, 0.0f);
    const glm::vec3 eye = GetPosition();
    return glm::lookAt(eye, eye + along, upVector);
}

LightUniforms Light::Uniforms() const
{
    LightUniforms u;
    u.type = type;
    u.ambient = mAmbientColor.value;
    u.diffuse = mDiffuseColor.value;
    u.specular = mSpecularColor.value;
    u.position = GetPosition();
    u.direction = mDirection.value;
    u.spotFalloff = mFalloff.value;
    u.innerAngleDegrees = mInnerAngle.value;
    u.outerAngleDegrees = mOuterAngle.value;
    u.constantAttenuation = mAttenuation_1.value;
    u.linearAttenuation = mAttenuation_2.value;
    u.quadraticAttenuation = mAttenuation_3.value;
    u.lightSpace = GetProjectionMatrix() * GetViewMatrix();
    u.bias = mBias.value;
    u.pcfSamples = mPCFSamples.value;
    u.shadowMap = mShadowMap.get();
    u.shadowCube = mShadowCube.get();
    return u;
}

} // namespace Engine
