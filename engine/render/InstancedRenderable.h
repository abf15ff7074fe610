#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"
#include "engine/core/PropertyMap.h"
#include "engine/render/CameraTarget.h"
#include "engine/render/GlBuffer.h"
#include "engine/render/HexColumnSides.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <map>
#include <string>
#include <vector>

namespace Engine {

class Material;
class Model;
class ShaderProgram;
class ViewVolume;

// Per-instance colours as the instanced programs read them:
//
//   offset  size  content                      attribute
//        0    12  wrapper "mAmbientColor_0"     5 (3 floats)
//       12    12  wrapper "mAmbientColor_1"     6
//       24    12  wrapper "mAmbientColor_2"     7
//       36    12  wrapper "mDiffuseColor"       8
//       48    12  wrapper "mSpecularColor"      9
//       60     8  two floats, always 0          10 (2 floats)
//
// 68 bytes, little-endian floats, no gaps. The matrix buffer beside it holds
// one column-major 4x4 float matrix (64 bytes) per instance, its columns
// attributes 11 to 14. A third buffer holds the column side codes
// (HexColumnSides, 12 bytes per instance, attribute 15 as unsigned
// integers): all zero, keep every side whole, for any model but the column.
struct InstanceRecord {
    glm::vec3 ambient0{0.0f};
    glm::vec3 ambient1{0.0f};
    glm::vec3 ambient2{0.0f};
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    glm::vec2 spare{0.0f};
};
static_assert(sizeof(InstanceRecord) == 68, "the record layout is shared with the instanced programs");

// What an instanced renderable keeps in the scene file: its properties.
class InstancedRenderableProperties : public Property_Holder {
public:
    Property<float> mMetalness{"mMetalness", 32.0f, mPropertyMap};
    Property<std::string> mModelName{"mModelName", mPropertyMap};
    Property<std::string> mShaderName{"mShaderName", mPropertyMap};
    Property<std::string> mMaterialName{"mMaterialName", mPropertyMap};
    Property<int> mCameraTarget{"mCameraTarget", -1, mPropertyMap};
};

// One model drawn once per instance entity in one instanced draw per mesh:
// each instance with its entity's world matrix and its render wrapper's
// colours. The floor is one of these, its tiles the instances.
//
// Order of use: names, ResolveResources, a wrapper on every instance entity,
// AddInstance for each, SetupInstanceBuffers once; every draw then uploads
// the current matrices and colours. Owns its buffers.
class InstancedRenderable : public InstancedRenderableProperties {
public:
    using Slots = std::map<EntityHandle, std::uint32_t>;
    static constexpr float kDrawTimeStep = 0.01666f;

    InstancedRenderable() = default;
    virtual ~InstancedRenderable() = default;
    InstancedRenderable(const InstancedRenderable&) = delete;
    InstancedRenderable& operator=(const InstancedRenderable&) = delete;

    // Draws every instance with the given program, or with its own (nothing
    // without one). Nothing is drawn before the buffers are set up or
    // without a model.
    virtual void Draw(const ShaderProgram& shader);
    virtual void Draw();
    // The same as one camera sees it: only the instances that may lie in
    // its view, nearest first, so that the depth test spares the shading of
    // what nearer tiles hide. The buffers then hold those instances in that
    // order until the next draw or upload.
    void Draw(const ShaderProgram& shader, const ViewVolume& view);

    // Shader, model and material by name; an unregistered name gives none.
    void ResolveResources();
    bool IsSeenBy(int cameraIndex) const { return CameraDraws(mCameraTarget.value, cameraIndex); }

    // The entity becomes the next slot. Throws InvalidMapKey, changing
    // nothing, when it has no render wrapper; an entity that already is an
    // instance keeps its slot and nothing is added.
    void AddInstance(EntityHandle entity);
    // Creates the buffers for the instances so far; nothing without
    // instances.
    void SetupInstanceBuffers();
    // Refreshes every slot from its entity and wrapper and uploads the
    // matrices, colours and side codes, growing the buffers for instances
    // added since they were made.
    // An instance whose entity or wrapper is gone gets a zero matrix, so it
    // is not drawn.
    void UploadInstances();
    // One instanced draw per mesh with the current program.
    void DrawInstances() const;

    std::size_t InstanceCount() const { return mSlots.size(); }
    const GlBuffer& MatrixBuffer() const { return mMatrixBuffer; }
    const GlBuffer& RecordBuffer() const { return mRecordBuffer; }

    const Model* model = nullptr;
    const ShaderProgram* shader = nullptr;
    const Material* material = nullptr;
    float drawTime = 0.0f;

private:
    bool BuffersReady() const { return mMatrixBuffer.Exists() && mRecordBuffer.Exists() && mSideBuffer.Exists(); }
    void Refresh(EntityHandle entity, std::uint32_t slot);
    void RefreshSides();
    void UploadArray(GlBuffer& buffer, std::size_t bytes, const void* data);
    void RefreshAll();
    // Fills the seen arrays with the instances the view may see, nearest
    // first.
    void GatherSeen(const ViewVolume& view);
    // The model's box in model space, worked out again when the model
    // changes.
    void MeasureModel();
    // With `greyPair` the program reads the material's grey pair.
    void DrawWith(const ShaderProgram& program, std::size_t count, bool greyPair = false);

    Slots mSlots;
    std::vector<glm::mat4> mMatrices;
    std::vector<InstanceRecord> mRecords;
    GlBuffer mMatrixBuffer;
    GlBuffer mRecordBuffer;
    HexColumnSides mColumnSides;
    std::vector<SideCodes> mSides;
    GlBuffer mSideBuffer;
    // One camera's draw: distance and slot of each instance it may see,
    // and their matrices, colours and side codes in that order. Kept between draws so
    // that a frame allocates nothing.
    std::vector<std::pair<float, std::uint32_t>> mSeen;
    std::vector<glm::mat4> mSeenMatrices;
    std::vector<InstanceRecord> mSeenRecords;
    std::vector<SideCodes> mSeenSides;
    const Model* mMeasuredModel = nullptr;
    glm::vec3 mBoxCentre{0.0f};
    glm::vec3 mBoxHalf{0.0f};
};

} // namespace Engine
