// The two sizes of the player's body that the hold keeps apart from the
// room, the columns and the other players.
#include "game/components/player/PlayerHold.h"

#include "engine/collision/ShapeGeometry.h"
#include "engine/core/Transform.h"

#include <cmath>

namespace PlayerHold {
namespace {

constexpr float kTouching = 1e-4f;

float ReachAlong(const PhysicsBox& box, const glm::vec3& axis)
{
    float reach = 0.0f;
    for (int i = 0; i < 3; ++i)
        reach += box.half[i] * std::fabs(glm::dot(box.axes[i], axis));
    return reach;
}

} // namespace

glm::vec3 StandingHalfExtents(Engine::EntityHandle player)
{
    const glm::vec3* scale = Engine::Transform::ScalePtr(player);
    return scale ? 0.5f * glm::abs(*scale) : glm::vec3(0.0f);
}

PhysicsBox PhysicsBox::Of(Engine::EntityHandle player, const glm::vec3& centre)
{
    const Engine::Geometry::BoxFrame frame(centre, Engine::MakeTransform3D(player));
    PhysicsBox box{centre, {}, glm::abs(frame.half)};
    for (int i = 0; i < 3; ++i)
        box.axes[i] = Engine::Geometry::UnitOr(frame.axes[i], Engine::Geometry::UnitAxis(i));
    return box;
}

float PhysicsBox::Reach(Engine::EntityHandle player)
{
    const glm::vec3* scale = Engine::Transform::ScalePtr(player);
    return scale ? glm::length(*scale) : 0.0f;
}

std::optional<TileColumns::WayOut> PhysicsBox::WayOutOf(const PhysicsBox& other) const
{
    const glm::vec3 apart = centre - other.centre;
    std::optional<TileColumns::WayOut> best;
    for (const PhysicsBox* box : {&other, this}) {
        for (const glm::vec3& axis : box->axes) {
            const float along = glm::dot(apart, axis);
            const float overlap = ReachAlong(*this, axis) + ReachAlong(other, axis) - std::fabs(along);
            if (!(overlap > kTouching))
                return std::nullopt;
            const glm::vec3 out = along < 0.0f ? -axis : axis;
            if (out.y < -0.5f)
                continue;
            if (!best || overlap < best->depth)
                best = TileColumns::WayOut{out, overlap};
        }
    }
    return best;
}

} // namespace PlayerHold
