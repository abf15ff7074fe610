#include "engine/render/AlphaRenderCompManager.h"

#include "engine/core/Transform.h"
#include "engine/render/Camera.h"
#include "engine/render/ShaderProgram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Engine {

namespace {

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

void AlphaRenderCompManager::Clear()
{
    mComponents.clear();
    mDrawOrder.clear();
}

void AlphaRenderCompManager::SwapWithAside()
{
    SectionComponentMap::SwapWithAside();
    // The order lists the other scene's entities; the next sort rebuilds it.
    mDrawOrder.clear();
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
    DrawInOrder(camera, nullptr);
}

void AlphaRenderCompManager::Render(const ShaderProgram& shader, const Camera& camera)
{
    DrawInOrder(camera, &shader);
}

void AlphaRenderCompManager::DrawInOrder(const Camera& camera, const ShaderProgram* given)
{
    const int cameraIndex = camera.mCameraIndex.value;
    for (const auto& [distance, entity] : mDrawOrder) {
        auto found = mComponents.find(entity);
        if (found == mComponents.end() || !found->second.IsSeenBy(cameraIndex))
            continue;
        AlphaRenderComp& component = found->second;
        // The hook's setters act on the current program: it must be the one
        // this component draws with, not the one the previous draw left.
        if (const ShaderProgram* program = given ? given : component.shader) {
            program->Use();
            program->BeforeDraw(camera);
        }
        if (given)
            component.Draw(found->first, *given);
        else
            component.Draw(found->first);
    }
}

} // namespace Engine
