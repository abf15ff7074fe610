#include "engine/render/AlphaRenderCompManager.h"

#include "engine/core/Transform.h"
#include "engine/render/Camera.h"
#include "engine/render/ComponentSection.h"
#include "engine/render/ShaderProgram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Engine {

namespace {

constexpr const char* kSection = "AlphaRenderComps";
constexpr const char* kEntityKey = "AlphaRenderComp";

// A position that is not finite sorts as the farthest, so the order stays a
// strict weak ordering whatever the transforms hold.
float SortDistance(const glm::vec3& from, const glm::vec3& to)
{
    const float distance = glm::length(to - from);
    return std::isfinite(distance) ? distance : std::numeric_limits<float>::max();
}

} // namespace

AlphaRenderCompManager& AlphaRenderCompManager::GetInstance()
{
    static AlphaRenderCompManager manager;
    return manager;
}

void AlphaRenderCompManager::RemoveComponent(EntityHandle entity)
{
    mComponents.erase(entity);
}

bool AlphaRenderCompManager::HasComponent(EntityHandle entity) const
{
    return mComponents.contains(entity);
}

void AlphaRenderCompManager::Clear()
{
    mComponents.clear();
    mDrawOrder.clear();
}

RenderCompRef<AlphaRenderComp> AlphaRenderCompManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    return {entity, &mComponents.try_emplace(entity).first->second};
}

AlphaRenderComp* AlphaRenderCompManager::GetCompPtr(EntityHandle entity)
{
    auto found = mComponents.find(entity);
    return found == mComponents.end() ? nullptr : &found->second;
}

void AlphaRenderCompManager::SortByDistance(const Camera& camera)
{
    mDrawOrder.clear();
    mDrawOrder.reserve(mComponents.size());
    for (const auto& [entity, component] : mComponents)
        mDrawOrder.emplace_back(SortDistance(camera.mPos.value, Transform::GetWorldPosition(entity)), entity);
    // The map walk gave ascending entities; a stable sort keeps them so
    // among equal distances.
    std::stable_sort(mDrawOrder.begin(), mDrawOrder.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
}

void AlphaRenderCompManager::Render(const Camera& camera)
{
    const int cameraIndex = camera.mCameraIndex.value;
    for (const auto& [distance, entity] : mDrawOrder) {
        auto found = mComponents.find(entity);
        if (found == mComponents.end() || !found->second.IsSeenBy(cameraIndex))
            continue;
        AlphaRenderComp& component = found->second;
        // The hook's setters act on the current program: it must be the
        // component's own, not the one the previous draw left.
        if (component.shader) {
            component.shader->Use();
            component.shader->BeforeDraw(camera);
        }
        component.Draw(found->first);
    }
}

void AlphaRenderCompManager::Render(const ShaderProgram& shader, const Camera& camera)
{
    const int cameraIndex = camera.mCameraIndex.value;
    for (const auto& [distance, entity] : mDrawOrder) {
        auto found = mComponents.find(entity);
        if (found == mComponents.end() || !found->second.IsSeenBy(cameraIndex))
            continue;
        shader.Use();
        shader.BeforeDraw(camera);
        found->second.Draw(found->first, shader);
    }
}

void AlphaRenderCompManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mComponents);
}

void AlphaRenderCompManager::Load(const nlohmann::json& document)
{
    auto staged = ComponentSection::Stage<AlphaRenderComp>(document, kSection, mComponents);
    ComponentSection::Commit(staged, mComponents, [](EntityHandle, AlphaRenderComp& c) { c.ResolveResources(); });
}

void AlphaRenderCompManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    auto found = mComponents.find(entity);
    if (found != mComponents.end())
        found->second.GetPropertyMap().ToJson(value[kEntityKey]);
}

void AlphaRenderCompManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (entity.IsNull() || !value.is_object() || !value.contains(kEntityKey))
        return;
    auto existing = mComponents.find(entity);
    const AlphaRenderComp base = existing != mComponents.end() ? existing->second : AlphaRenderComp();
    AlphaRenderComp read = ComponentSection::ReadValues(base, value.at(kEntityKey), kEntityKey, "");
    AlphaRenderComp& stored = mComponents.try_emplace(entity).first->second;
    stored = read;
    stored.ResolveResources();
}

} // namespace Engine
