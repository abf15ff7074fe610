#include "engine/render/InstancedRenderable.h"

#include "engine/core/Transform.h"
#include "engine/render/InstanceStreams.h"
#include "engine/render/Material.h"
#include "engine/render/Model.h"
#include "engine/render/RenderWrapperManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/ShaderClock.h"
#include "engine/render/ShaderProgram.h"
#include "engine/render/ViewVolume.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace Engine {

namespace {

constexpr InstanceAttribute kRecordAttributes[] = {
    {5, 3, offsetof(InstanceRecord, ambient0)}, {6, 3, offsetof(InstanceRecord, ambient1)},
    {7, 3, offsetof(InstanceRecord, ambient2)}, {8, 3, offsetof(InstanceRecord, diffuse)},
    {9, 3, offsetof(InstanceRecord, specular)}, {10, 2, offsetof(InstanceRecord, spare)},
};
constexpr InstanceAttribute kMatrixAttributes[] = {
    {11, 4, 0}, {12, 4, 16}, {13, 4, 32}, {14, 4, 48},
};
constexpr InstanceAttribute kSideAttributes[] = {{15, 3, 0, true}};

std::array<InstanceStream, 3> Streams(const GlBuffer& records, const GlBuffer& matrices, const GlBuffer& sides)
{
    return {InstanceStream{&records, sizeof(InstanceRecord), kRecordAttributes},
            InstanceStream{&matrices, sizeof(glm::mat4), kMatrixAttributes},
            InstanceStream{&sides, sizeof(SideCodes), kSideAttributes}};
}

// The five colours; the spare floats stay as they are.
void CopyColours(const RenderWrapper& wrapper, InstanceRecord& record)
{
    record.ambient0 = wrapper.mAmbientColor_0.value;
    record.ambient1 = wrapper.mAmbientColor_1.value;
    record.ambient2 = wrapper.mAmbientColor_2.value;
    record.diffuse = wrapper.mDiffuseColor.value;
    record.specular = wrapper.mSpecularColor.value;
}

} // namespace

void InstancedRenderable::ResolveResources()
{
    Renderer& renderer = Renderer::GetInstance();
    shader = renderer.shaders.Find(mShaderName.value);
    model = renderer.models.Find(mModelName.value);
    material = renderer.materials.Find(mMaterialName.value);
}

void InstancedRenderable::AddInstance(EntityHandle entity)
{
    const RenderWrapper& wrapper = *RenderWrapperManager::GetInstance().GetComponent(entity).component;
    auto found = mSlots.find(entity);
    if (found != mSlots.end()) {
        if (found->first.IsValid())
            return;
        // The instance's entity is gone and its index was given to this
        // one: it takes the slot over instead of leaving it blank forever.
        auto node = mSlots.extract(found);
        node.key() = entity;
        const std::uint32_t slot = node.mapped();
        mSlots.insert(std::move(node));
        Refresh(entity, slot);
        return;
    }
    mSlots.emplace(entity, static_cast<std::uint32_t>(mMatrices.size()));
    mMatrices.push_back(Transform::GetWorldMatrix(entity));
    InstanceRecord record;
    CopyColours(wrapper, record);
    mRecords.push_back(record);
}

void InstancedRenderable::SetupInstanceBuffers()
{
    if (mSlots.empty())
        return;
    mMatrixBuffer.Create(mMatrices.size() * sizeof(glm::mat4), mMatrices.data());
    mRecordBuffer.Create(mRecords.size() * sizeof(InstanceRecord), mRecords.data());
    RefreshSides();
    mSideBuffer.Create(mSides.size() * sizeof(SideCodes), mSides.data());
}

void InstancedRenderable::Refresh(EntityHandle entity, std::uint32_t slot)
{
    const RenderWrapper* wrapper = entity.IsValid() ? RenderWrapperManager::GetInstance().GetCompPtr(entity) : nullptr;
    if (!wrapper) {
        mMatrices[slot] = glm::mat4(0.0f); // every vertex at one point: nothing drawn
        return;
    }
    mMatrices[slot] = Transform::GetWorldMatrix(entity);
    CopyColours(*wrapper, mRecords[slot]);
}

void InstancedRenderable::UploadArray(GlBuffer& buffer, std::size_t bytes, const void* data)
{
    if (bytes > buffer.Bytes())
        buffer.Resize(bytes, data);
    else
        buffer.Write(bytes, data);
}

void InstancedRenderable::RefreshAll()
{
    for (const auto& [entity, slot] : mSlots)
        Refresh(entity, slot);
    RefreshSides();
}

// Every other model, and the column when drawn whole, keeps its sides.
void InstancedRenderable::RefreshSides()
{
    if (model && model->hexColumn) {
        mColumnSides.Update(mMatrices);
        mSides = mColumnSides.Codes();
    } else {
        mSides.assign(mMatrices.size(), SideCodes{0, 0, 0});
    }
}

void InstancedRenderable::UploadInstances()
{
    RefreshAll();
    if (!BuffersReady())
        return;
    UploadArray(mMatrixBuffer, mSlots.size() * sizeof(glm::mat4), mMatrices.data());
    UploadArray(mRecordBuffer, mSlots.size() * sizeof(InstanceRecord), mRecords.data());
    UploadArray(mSideBuffer, mSlots.size() * sizeof(SideCodes), mSides.data());
}

void InstancedRenderable::DrawInstances() const
{
    if (!model || !BuffersReady())
        return;
    DrawInstanced(*model, Streams(mRecordBuffer, mMatrixBuffer, mSideBuffer), static_cast<GLsizei>(mSlots.size()));
}

void InstancedRenderable::DrawWith(const ShaderProgram& program, std::size_t count, bool greyPair)
{
    program.Use();
    program.SetUniform("uMetalness", mMetalness.value);
    program.SetUniform("uTime", drawTime);
    Material::Bind(material, program, greyPair);
    if (count > 0)
        DrawInstanced(*model, Streams(mRecordBuffer, mMatrixBuffer, mSideBuffer), static_cast<GLsizei>(count));
}

void InstancedRenderable::Draw(const ShaderProgram& program)
{
    if (!model || !BuffersReady())
        return;
    drawTime = AdvanceShaderClock(drawTime, kDrawTimeStep);
    UploadInstances();
    DrawWith(program, mSlots.size());
}

void InstancedRenderable::Draw(const ShaderProgram& program, const ViewVolume& view)
{
    if (!model || !BuffersReady())
        return;
    drawTime = AdvanceShaderClock(drawTime, kDrawTimeStep);
    RefreshAll();
    GatherSeen(view);
    UploadArray(mMatrixBuffer, mSeenMatrices.size() * sizeof(glm::mat4), mSeenMatrices.data());
    UploadArray(mRecordBuffer, mSeenRecords.size() * sizeof(InstanceRecord), mSeenRecords.data());
    UploadArray(mSideBuffer, mSeenSides.size() * sizeof(SideCodes), mSeenSides.data());
    const std::optional<glm::vec3> normalTexel = material ? material->NormalTexel() : std::nullopt;
    const Renderer& renderer = Renderer::GetInstance();
    const ShaderProgram& oneColour = normalTexel ? renderer.OneColourNormalBuild(program) : program;
    // One read of a grey pair instead of the diffuse and highlight maps'
    // two: on a software rasteriser each read of a large map costs about a
    // seventh of the floor's pass.
    const ShaderProgram& build = normalTexel && material->GreyPair() ? renderer.GreyPairBuild(oneColour) : oneColour;
    if (normalTexel && &build != &program) {
        build.Use();
        build.SetUniform("uNormalTexel", *normalTexel);
    }
    DrawWith(build, mSeen.size(), &build != &oneColour);
}

void InstancedRenderable::MeasureModel()
{
    if (model == mMeasuredModel)
        return;
    const ModelBox box = model ? ModelBounds(*model) : ModelBox{};
    mBoxCentre = box.centre;
    mBoxHalf = box.half;
    mMeasuredModel = model;
}

void InstancedRenderable::GatherSeen(const ViewVolume& view)
{
    MeasureModel();
    mSeen.clear();
    for (const auto& [entity, slot] : mSlots) {
        const glm::mat4& world = mMatrices[slot];
        if (!view.MaySee(world, mBoxCentre, mBoxHalf))
            continue;
        const glm::vec3 away = glm::vec3(world[3]) - view.Eye();
        mSeen.emplace_back(glm::dot(away, away), slot);
    }
    std::sort(mSeen.begin(), mSeen.end());
    mSeenMatrices.resize(mSeen.size());
    mSeenRecords.resize(mSeen.size());
    mSeenSides.resize(mSeen.size());
    for (std::size_t i = 0; i < mSeen.size(); ++i) {
        mSeenMatrices[i] = mMatrices[mSeen[i].second];
        mSeenRecords[i] = mRecords[mSeen[i].second];
        mSeenSides[i] = mSides[mSeen[i].second];
    }
}

void InstancedRenderable::Draw()
{
    if (shader)
        Draw(*shader);
}

} // namespace Engine
