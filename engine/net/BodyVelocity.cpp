#include "engine/net/BodyVelocity.h"

namespace Net {
namespace {

VelocityLookup gLookup = nullptr;

glm::vec3* Find(Engine::EntityHandle entity)
{
    return gLookup ? gLookup(entity) : nullptr;
}

} // namespace

void SetVelocityLookup(VelocityLookup lookup)
{
    gLookup = lookup;
}

glm::vec3 ReadVelocity(Engine::EntityHandle entity)
{
    const glm::vec3* velocity = Find(entity);
    return velocity ? *velocity : glm::vec3(0.0f);
}

void WriteVelocity(Engine::EntityHandle entity, const glm::vec3& velocity)
{
    if (glm::vec3* target = Find(entity))
        *target = velocity;
}

} // namespace Net
