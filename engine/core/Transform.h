#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Transform3D.h"

#include <glm/glm.hpp>
#include <vector>

// What game code uses to read and move entities. Every function takes the
// entity first; an entity without a transform reads as the default transform
// (identity world matrix) and writes to it go nowhere.
//
// The Ref accessors mark the entity and its subtree changed and return a
// reference into the transform arrays. Marking moves clean entries only, so
// PositionRef(a) = PositionRef(b) is safe, but a reference or Ptr taken from
// a clean entry can move under the next marking call: use it at once.
namespace Engine::Transform {

glm::vec3& PositionRef(EntityHandle entity);
glm::vec3& ScaleRef(EntityHandle entity);
glm::vec3& ForwardRef(EntityHandle entity);
glm::vec3& UpRef(EntityHandle entity);
// For reading, without marking anything.
const glm::vec3* PositionPtr(EntityHandle entity);
const glm::vec3* ScalePtr(EntityHandle entity);
const glm::vec3* ForwardPtr(EntityHandle entity);
const glm::vec3* UpPtr(EntityHandle entity);

EntityHandle GetParent(EntityHandle entity);
std::vector<EntityHandle> GetChildren(EntityHandle entity);
// cross(forward, up): the opposite of the local matrix's first column.
glm::vec3 GetRight(EntityHandle entity);
// Rotates forward and up about the axis (normalised here); a zero axis
// leaves them as they are.
void Rotate(EntityHandle entity, float angle, glm::vec3 axis);

glm::mat4 GetWorldMatrix(EntityHandle entity);
glm::vec3 GetWorldPosition(EntityHandle entity);
// Stores the world position as a local one. Under a parent whose world
// matrix cannot be inverted (a zero scale) no local position gives it, and
// the position is left as it was.
void SetWorldPosition(EntityHandle entity, glm::vec3 worldPosition);

void SetParent(EntityHandle child, EntityHandle parent);
void Detach(EntityHandle entity);

} // namespace Engine::Transform

namespace Engine {

// The entity's transform with its world position (the collision system
// works in world space); scale, forward and up are the local ones.
Transform3D MakeTransform3D(EntityHandle entity);

} // namespace Engine
