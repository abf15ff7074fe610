#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"
#include "engine/core/PropertyMap.h"
#include "engine/render/Framebuffer.h"
#include "engine/render/ShaderProgram.h"
#include "engine/render/ShadowCubeMap.h"

#include <glm/glm.hpp>
#include <memory>

namespace Engine {

// The persisted part of a light: colours, spot cone, attenuation and the
// shadow projection's settings. Angles are in degrees.
class LightSettings : public Property_Holder {
public:
    Property<glm::vec4> mAmbientColor{"mAmbientColor", glm::vec4(0.1f, 0.1f, 0.1f, 1.0f), mPropertyMap};
    Property<glm::vec4> mDiffuseColor{"mDiffuseColor", glm::vec4(1.0f), mPropertyMap};
    Property<glm::vec4> mSpecularColor{"mSpecularColor", glm::vec4(1.0f), mPropertyMap};
    Property<glm::vec3> mDirection{"mDirection", glm::vec3(0.0f, 0.0f, -1.0f), mPropertyMap};
    Property<float> mInnerAngle{"mInnerAngle", 30.0f, mPropertyMap};
    // Also half the shadow projection's field of view.
    Property<float> mOuterAngle{"mOuterAngle", 60.0f, mPropertyMap};
    Property<float> mFalloff{"mFalloff", 1.0f, mPropertyMap};
    Property<float> mAttenuation_1{"mAttenuation_1", 0.1f, mPropertyMap};
    Property<float> mAttenuation_2{"mAttenuation_2", 0.011f, mPropertyMap};
    Property<float> mAttenuation_3{"mAttenuation_3", 0.011f, mPropertyMap};
    Property<float> mNear{"mNear", 1.0f, mPropertyMap};
    Property<float> mFar{"mFar", 500.0f, mPropertyMap};
    Property<float> mBias{"mBias", 1.0f, mPropertyMap};
    Property<int> mPCFSamples{"mPCFSamples", 2, mPropertyMap};
};

// A light placed by its owner entity's transform. It owns its two shadow
// targets, a 400 x 400 depth map (sampled by lights of a type other than 0)
// and a 512 depth cube (type 0), which are bound for the lit programs at
// every upload. Needs a current GL context.
class Light : public LightSettings {
public:
    static constexpr unsigned kShadowMapSize = 400;
    static constexpr unsigned kShadowCubeSize = 512;

    Light();
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    // Perspective of twice the outer angle, square, from the shadow near and
    // far planes.
    glm::mat4 GetProjectionMatrix() const;
    // Looks from the owner's position along the direction. A direction
    // without length looks down -z; a vertical one takes +z as its up.
    glm::mat4 GetViewMatrix() const;
    glm::vec3 GetPosition() const;

    // Everything one element of a lit program's light array receives.
    LightUniforms Uniforms() const;

    const Framebuffer& ShadowMap() const { return *mShadowMap; }
    const ShadowCubeMap& ShadowCube() const { return *mShadowCube; }

    // 0 point (samples the cube), 1 directional, 2 spot (sample the map).
    int type = 0;
    EntityHandle owner;

private:
    std::unique_ptr<Framebuffer> mShadowMap;
    std::unique_ptr<ShadowCubeMap> mShadowCube;
};

} // namespace Engine
