#include "engine/core/Transform.h"

#include "engine/core/Math.h"
#include "engine/core/TransformCompManager.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace Engine::Transform {
namespace {

using Entries = TransformCompManager::Entries;

TransformCompManager& Manager() { return TransformCompManager::GetInstance(); }

} // namespace

glm::vec3& PositionRef(EntityHandle entity) { return Manager().ChangedValue(entity, &Entries::positions); }
glm::vec3& ScaleRef(EntityHandle entity) { return Manager().ChangedValue(entity, &Entries::scales); }
glm::vec3& ForwardRef(EntityHandle entity) { return Manager().ChangedValue(entity, &Entries::forwards); }
glm::vec3& UpRef(EntityHandle entity) { return Manager().ChangedValue(entity, &Entries::ups); }

const glm::vec3* PositionPtr(EntityHandle entity) { return Manager().ValuePtr(entity, &Entries::positions); }
const glm::vec3* ScalePtr(EntityHandle entity) { return Manager().ValuePtr(entity, &Entries::scales); }
const glm::vec3* ForwardPtr(EntityHandle entity) { return Manager().ValuePtr(entity, &Entries::forwards); }
const glm::vec3* UpPtr(EntityHandle entity) { return Manager().ValuePtr(entity, &Entries::ups); }

EntityHandle GetParent(EntityHandle entity) { return Manager().GetParentOf(entity); }

std::vector<EntityHandle> GetChildren(EntityHandle entity)
{
    const TransformCompManager& manager = Manager();
    std::vector<EntityHandle> children;
    std::uint32_t index = manager.GetDataIndex(entity);
    if (index == TransformCompManager::kNoIndex)
        return children;
    for (EntityHandle child = manager.GetEntries().firstChildren[index]; !child.IsNull();
         child = manager.GetEntries().nextSiblings[manager.GetDataIndex(child)])
        children.push_back(child);
    return children;
}

glm::vec3 GetRight(EntityHandle entity) { return glm::cross(*ForwardPtr(entity), *UpPtr(entity)); }

void Rotate(EntityHandle entity, float angle, glm::vec3 axis)
{
    const float length = glm::length(axis);
    if (!(length > 0.0f) || !std::isfinite(length))
        return;
    // Both new values are computed before either reference is taken.
    const glm::mat4 rotation = glm::rotate(glm::mat4(1.0f), angle, axis);
    const auto turn = [&rotation](const glm::vec3& v) { return glm::vec3(rotation * glm::vec4(v, 0.0f)); };
    const glm::vec3 forward = turn(*ForwardPtr(entity));
    const glm::vec3 up = turn(*UpPtr(entity));
    ForwardRef(entity) = forward;
    UpRef(entity) = up;
}

glm::mat4 GetWorldMatrix(EntityHandle entity)
{
    const TransformCompManager& manager = Manager();
    const std::uint32_t index = manager.GetDataIndex(entity);
    return index == TransformCompManager::kNoIndex ? glm::mat4(1.0f) : manager.ComputeWorldMatrix(index);
}

namespace {

// The world position of a data index (kNoIndex: the origin).
glm::vec3 WorldPositionAt(std::uint32_t index)
{
    return index == TransformCompManager::kNoIndex ? glm::vec3(0.0f) : Manager().WorldPosition(index);
}

} // namespace

glm::vec3 GetWorldPosition(EntityHandle entity) { return WorldPositionAt(Manager().GetDataIndex(entity)); }

void SetWorldPosition(EntityHandle entity, glm::vec3 worldPosition)
{
    if (!Manager().HasComponent(entity))
        return;
    const EntityHandle parent = GetParent(entity);
    glm::vec3 local = worldPosition;
    if (!parent.IsNull()) {
        const glm::mat4 parentWorld = GetWorldMatrix(parent);
        if (glm::determinant(parentWorld) == 0.0f)
            return;
        local = glm::vec3(glm::inverse(parentWorld) * glm::vec4(worldPosition, 1.0f));
        if (!Math::IsFinite(local))
            return;
    }
    PositionRef(entity) = local;
}

void SetParent(EntityHandle child, EntityHandle parent) { Manager().SetParent(child, parent); }

void Detach(EntityHandle entity) { Manager().Unlink(GetParent(entity), entity); }

} // namespace Engine::Transform

namespace Engine {

// The collision tests ask this of every collider they meet: the entity is
// looked up once.
Transform3D MakeTransform3D(EntityHandle entity)
{
    const TransformCompManager& manager = TransformCompManager::GetInstance();
    const std::uint32_t index = manager.GetDataIndex(entity);
    Transform3D transform;
    transform.pos = Transform::WorldPositionAt(index);
    if (index == TransformCompManager::kNoIndex) {
        transform.scale = *Transform::ScalePtr(entity);
        transform.forward = *Transform::ForwardPtr(entity);
        transform.up = *Transform::UpPtr(entity);
        return transform;
    }
    const TransformCompManager::Entries& entries = manager.GetEntries();
    transform.scale = entries.scales[index];
    transform.forward = entries.forwards[index];
    transform.up = entries.ups[index];
    return transform;
}

} // namespace Engine
