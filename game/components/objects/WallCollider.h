#pragma once
#include "engine/logic/LogicComp.h"

#include <cstdint>

namespace Engine {
struct CollisionEvent;
}

// A wall that reflects a player's ball about its own up vector, pushes it
// out, and then lets the ball touch whatever static collider lies just
// below the contact (the tile the wall stands on), so that the ball's own
// contact rules run for it too. The wall lives while something renews its
// keep-alive flag every update; left alone it goes on its second update.
class WallCollider : public Engine::LogicComp {
public:
    WallCollider() = default;
    ~WallCollider() override;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;

    void OnCollision(Engine::CollisionEvent* event);

    std::uint8_t mKeepAlive = 1;

private:
    void ReflectBall(Engine::EntityHandle ball, const Engine::CollisionEvent& event) const;
    void TouchGroundBelow(Engine::EntityHandle ball) const;
};
