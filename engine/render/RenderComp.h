#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"
#include "engine/core/PropertyMap.h"

#include <glm/glm.hpp>
#include <string>

namespace Engine {

class Material;
class Model;
class ShaderProgram;

// One entity drawn as one lit model. The names pick the model, program and
// material from the renderer's registries; whoever changes a name calls
// ResolveResources afterwards. A camera draws the component when
// "mCameraTarget" is -1 or its own index.
class RenderCompBase : public Property_Holder {
public:
    // Added to the draw time at every draw (not per frame: a component that
    // two cameras draw advances twice).
    static constexpr float kDrawTimeStep = 0.01666f;
    // Location of the model matrix in every lit program.
    static constexpr int kModelLocation = 1;

    RenderCompBase() = default;
    virtual ~RenderCompBase() = default;

    // Looks the three names up; a name that is not registered resolves to
    // nothing.
    void ResolveResources();

    // Draws with the given program; nothing without a resolved model.
    virtual void Draw(EntityHandle entity, const ShaderProgram& shader);
    // Draws with the component's own program; nothing without a resolved
    // program and model.
    virtual void Draw(EntityHandle entity);

    const Model* model = nullptr;
    const ShaderProgram* shader = nullptr;
    const Material* material = nullptr;

    Property<glm::vec3> mAmbientColor{"mAmbientColor", glm::vec3(0.025f), mPropertyMap};
    Property<glm::vec3> mDiffuseColor{"mDiffuseColor", glm::vec3(1.0f), mPropertyMap};
    Property<glm::vec3> mSpecularColor{"mSpecularColor", glm::vec3(1.0f), mPropertyMap};
    Property<float> mMetalness{"mMetalness", 32.0f, mPropertyMap};
    Property<std::string> mModelName{"mModelName", mPropertyMap};
    Property<std::string> mShaderName{"mShaderName", mPropertyMap};
    Property<std::string> mMaterialName{"mMaterialName", mPropertyMap};
    Property<int> mCameraTarget{"mCameraTarget", -1, mPropertyMap};

    float drawTime = 0.0f;

protected:
    // Whole components only: RenderComp adds properties of its own.
    RenderCompBase(const RenderCompBase&) = default;
    RenderCompBase& operator=(const RenderCompBase&) = default;

    // Advances the time, makes the program current and sets the entity's
    // matrix, the colours, the time and the material.
    void Prepare(EntityHandle entity, const ShaderProgram& program);
};

// An opaque lit model.
class RenderComp : public RenderCompBase {
public:
    // Whether a camera of this index draws the component. A camera of index
    // -1 draws everything except what "mNotRenderCam" -1 keeps from it.
    bool IsSeenBy(int cameraIndex) const;

    // The camera of this index never draws the component.
    Property<int> mNotRenderCam{"mNotRenderCam", -1, mPropertyMap};
    // Kept with the scene; nothing draws by it.
    Property<int> mVal{"mVal", 0, mPropertyMap};
};

} // namespace Engine
